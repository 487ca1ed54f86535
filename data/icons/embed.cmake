# Writes OUTPUT, a C++ source holding the bytes of every PNG icon under
# ICONS, so the program can give its window the icons it is installed with.
# Run as cmake -DICONS=... -DOUTPUT=... -P embed.cmake.
file(GLOB icons RELATIVE ${ICONS} ${ICONS}/hicolor/*/apps/sowrow.png)
list(SORT icons)
set(source "// Made from data/icons by data/icons/embed.cmake at build time.\n")
string(APPEND source "#include \"app/desktop.h\"\n\n")
set(index 0)
set(table "")
foreach(icon ${icons})
  file(READ ${ICONS}/${icon} bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND source "static const unsigned char icon${index}[] = {${bytes}};\n")
  string(APPEND table "    {icon${index}, sizeof icon${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND source "\nconst EmbeddedFile kIconFiles[] = {\n${table}};\n")
string(APPEND source "const int kIconFileCount = ${index};\n")
file(WRITE ${OUTPUT} "${source}")
