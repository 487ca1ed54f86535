#!/usr/bin/python3
"""Draw every picture of the game from scratch.

Writes, relative to the output root (the repository root by default):
  Images/*.bmp        the 22 pictures the game loads at start-up
  data/icons/hicolor/<size>/apps/sowrow.png   the application icon

Run from anywhere:  /usr/bin/python3 assets/make_images.py [output root]
The output is byte-identical on every run: the wood grain comes from a
seeded generator and nothing else is random.

The game reads only a narrow subset of BMP (54-byte header, 24-bit,
bottom-up, pixels right behind the header), so the files are written by
hand instead of through Pillow's encoder.
"""

import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# The board is drawn on screen from (25, 50); its pits, stores and count
# texts are placed by the game in window coordinates.
BOARD_ORIGIN = (25, 50)
BOARD_SIZE = (950, 300)

# Where the buttons sit inside the menu picture (window (360, 155) minus the
# picture's origin (200, 10)); the panel behind them is one flat colour so
# that the buttons' rounded corners blend into it.
MENU_BUTTON_LEFT = 160
MENU_BUTTON_TOP = 145
MENU_BUTTON_STEP = 55

# Palette: warm honey wood, dark walnut, brass and ivory.
HONEY_LIGHT = (0.86, 0.66, 0.42)
HONEY_DARK = (0.64, 0.42, 0.22)
WALNUT_LIGHT = (0.42, 0.25, 0.14)
WALNUT_DARK = (0.22, 0.12, 0.07)
PANEL = (0.20, 0.115, 0.065)
BRASS = (0.93, 0.76, 0.42)
BRASS_DARK = (0.55, 0.38, 0.16)
IVORY = (0.98, 0.93, 0.80)
INK = (0.23, 0.13, 0.07)
PAPER_LIGHT = (0.98, 0.94, 0.84)
PAPER_DARK = (0.90, 0.82, 0.66)


# ---------------------------------------------------------------- output


def bmp_bytes(rgb):
    """rgb: float array (h, w, 3) in 0..1 -> the bytes of a 24-bit BMP."""
    pixels = np.clip(np.round(rgb * 255.0), 0, 255).astype(np.uint8)
    height, width, _ = pixels.shape
    row_size = (width * 3 + 3) // 4 * 4
    image_size = row_size * height
    rows = np.zeros((height, row_size), dtype=np.uint8)
    rows[:, : width * 3] = pixels[:, :, ::-1].reshape(height, width * 3)
    header = struct.pack(
        "<2sIHHI", b"BM", 54 + image_size, 0, 0, 54
    ) + struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    return header + rows[::-1].tobytes()


def write_bmp(root, name, rgb):
    path = os.path.join(root, "Images", name)
    with open(path, "wb") as stream:
        stream.write(bmp_bytes(rgb))


# ---------------------------------------------------------------- helpers


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def grid(w, h):
    """Pixel-centre coordinates."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float64)
    return x + 0.5, y + 0.5


def coverage(distance):
    """Signed distance (negative inside) -> anti-aliased coverage."""
    return np.clip(0.5 - distance, 0.0, 1.0)


def round_rect_sdf(w, h, x0, y0, x1, y1, radius):
    x, y = grid(w, h)
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - radius, (y1 - y0) / 2.0 - radius
    qx, qy = np.abs(x - cx) - hx, np.abs(y - cy) - hy
    outside = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
    return outside + np.minimum(np.maximum(qx, qy), 0) - radius


def ellipse_sdf(w, h, cx, cy, rx, ry, angle=0.0):
    x, y = grid(w, h)
    dx, dy = x - cx, y - cy
    if angle:
        c, s = np.cos(angle), np.sin(angle)
        dx, dy = c * dx + s * dy, -s * dx + c * dy
    k = np.hypot(dx / rx, dy / ry)
    return (k - 1.0) * min(rx, ry)


def over(image, colour, alpha):
    """Paint colour (tuple or array) over image with alpha (array)."""
    a = alpha[..., None]
    image *= 1.0 - a
    image += np.asarray(colour, dtype=np.float64) * a
    return image


def blur(array, radius):
    # Pillow blurs only 8-bit images; that precision is plenty for shading.
    scaled = Image.fromarray(np.clip(array * 255.0, 0, 255).astype(np.uint8), mode="L")
    return np.asarray(scaled.filter(ImageFilter.GaussianBlur(radius)), dtype=np.float64) / 255.0


def shift(array, dx, dy, fill=0.0):
    out = np.full_like(array, fill)
    h, w = array.shape
    xs, xd = (slice(0, w - dx), slice(dx, w)) if dx >= 0 else (slice(-dx, w), slice(0, w + dx))
    ys, yd = (slice(0, h - dy), slice(dy, h)) if dy >= 0 else (slice(-dy, h), slice(0, h + dy))
    out[yd, xd] = array[ys, xs]
    return out


def smooth_noise(w, h, cells_x, cells_y, rng):
    """Value noise in 0..1, bicubically interpolated from a coarse grid."""
    coarse = rng.rand(cells_y + 3, cells_x + 3).astype(np.float32)
    big = Image.fromarray(coarse, mode="F").resize(
        (w * (cells_x + 3) // max(cells_x, 1), h * (cells_y + 3) // max(cells_y, 1)),
        Image.BICUBIC,
    )
    array = np.asarray(big, dtype=np.float64)
    oy = (array.shape[0] - h) // 2
    ox = (array.shape[1] - w) // 2
    return np.clip(array[oy : oy + h, ox : ox + w], 0.0, 1.0)


def wood(w, h, light, dark, seed, ring_spacing=22.0, streak=1.0):
    """Plank of wood with its grain running along x."""
    rng = np.random.RandomState(seed)
    x, y = grid(w, h)
    warp = smooth_noise(w, h, max(2, w // 160), max(2, h // 60), rng)
    wobble = smooth_noise(w, h, max(2, w // 50), max(2, h // 25), rng)
    rings = np.sin(2 * np.pi * (y / ring_spacing + 1.3 * warp + 0.25 * wobble))
    grain = ((rings + 1.0) / 2.0) ** 4
    fibres = smooth_noise(w, h, max(2, w // 40), max(2, h // 2), rng)
    fibres = (fibres - 0.5) * streak
    blotch = smooth_noise(w, h, max(2, w // 220), max(2, h // 110), rng)
    t = np.clip(0.15 + 0.5 * grain + 0.55 * fibres + 0.3 * (blotch - 0.5), 0.0, 1.0)
    light = np.asarray(light)
    dark = np.asarray(dark)
    return light * (1.0 - t[..., None]) + dark * t[..., None]


def text_mask(size, text, fnt, xy, anchor="mm", spacing=4):
    """Coverage of text drawn at xy, as floats."""
    layer = Image.new("L", size, 0)
    ImageDraw.Draw(layer).text(xy, text, font=fnt, fill=255, anchor=anchor, spacing=spacing)
    return np.asarray(layer, dtype=np.float64) / 255.0


def engraved_text(image, text, fnt, xy, colour, anchor="mm", shadow=(0.0, 0.0, 0.0), depth=1):
    """Text with a soft shadow below-right, as if inlaid."""
    h, w, _ = image.shape
    mask = text_mask((w, h), text, fnt, xy, anchor)
    soft = blur(shift(mask, depth, depth), 1.0)
    over(image, shadow, np.clip(soft * 0.75, 0, 1))
    over(image, colour, mask)
    return mask


def gradient_text(image, text, fnt, xy, top, bottom, anchor="mm"):
    """Metal-like text: vertical gradient, dark outline and drop shadow."""
    h, w, _ = image.shape
    mask = text_mask((w, h), text, fnt, xy, anchor)
    rows = np.nonzero(mask.max(axis=1) > 0)[0]
    y0, y1 = rows.min(), rows.max() + 1
    t = np.clip((np.arange(h) - y0) / max(1, y1 - y0), 0, 1)[:, None, None]
    colour = np.asarray(top) * (1 - t) + np.asarray(bottom) * t
    colour = np.broadcast_to(colour, image.shape)
    outline = np.clip(blur(mask, 1.2) * 2.5, 0, 1)
    shadow = blur(shift(mask, 3, 3), 2.5)
    over(image, (0.08, 0.04, 0.02), np.clip(shadow * 0.8, 0, 1))
    over(image, (0.18, 0.09, 0.04), outline)
    over(image, colour, mask)
    # Shine along the upper half of the letters.
    shine = mask * np.clip(1.0 - 2.2 * t[..., 0], 0, 1) * 0.35
    over(image, (1.0, 1.0, 0.95), shine)


def bevel_frame(image, inset, width, light_alpha=0.45, dark_alpha=0.5, radius=10):
    """Raised edge: highlight on the upper-left, shadow on the lower-right."""
    h, w, _ = image.shape
    outer = coverage(round_rect_sdf(w, h, inset, inset, w - inset, h - inset, radius))
    inner = coverage(
        round_rect_sdf(w, h, inset + width, inset + width, w - inset - width, h - inset - width,
                       max(1, radius - width))
    )
    ring = np.clip(outer - inner, 0, 1)
    x, y = grid(w, h)
    side = np.clip((x / w + y / h) - 1.0 + 0.5, 0, 1)  # 0 top-left .. 1 bottom-right
    over(image, (1.0, 0.95, 0.82), ring * (1 - side) * light_alpha)
    over(image, (0.05, 0.02, 0.0), ring * side * dark_alpha)


def carve(image, inside, depth=1.0, interior_shade=0.58):
    """Turn the region `inside` (coverage) into a hollow lit from the upper left."""
    outside = 1.0 - inside
    image *= (1.0 - inside[..., None] * (1.0 - interior_shade))
    shadow = blur(shift(outside, int(4 * depth), int(5 * depth), fill=1.0), 4.0 * depth) * inside
    over(image, (0.06, 0.03, 0.01), np.clip(shadow * 0.85, 0, 1))
    lit = blur(shift(outside, -int(3 * depth), -int(3 * depth), fill=1.0), 3.0 * depth) * inside
    over(image, (1.0, 0.86, 0.62), np.clip(lit * 0.35, 0, 1))
    # Polished lip round the hollow: dark edge line, lighter ring outside it.
    grown = np.clip(blur(inside, 2.0) * 2.0, 0, 1)
    lip = np.clip(grown - inside, 0, 1)
    over(image, (1.0, 0.9, 0.7), lip * 0.28)
    edge = np.clip(inside * (1 - np.clip(blur(inside, 1.0) * 2 - 1, 0, 1)) * 2, 0, 1)
    over(image, (0.12, 0.06, 0.02), edge * 0.6)


def drop_shadow(image, shape, dx=3, dy=4, radius=4.0, strength=0.6):
    soft = blur(shift(shape, dx, dy), radius)
    over(image, (0.02, 0.01, 0.0), np.clip(soft * strength, 0, 1) * (1 - shape))


# ---------------------------------------------------------------- the board


def board_pit_centre(row, column):
    return 200 + 100 * column - BOARD_ORIGIN[0], 135 + 130 * row - BOARD_ORIGIN[1]


def make_board():
    w, h = BOARD_SIZE
    image = wood(w, h, HONEY_LIGHT, HONEY_DARK, seed=11, ring_spacing=26.0)
    body = coverage(round_rect_sdf(w, h, 0, 0, w, h, 16))

    # Light inlaid plates where the game writes the counts in black.
    plates = np.zeros((h, w))
    for column in range(7):
        x = 195 + 100 * column - BOARD_ORIGIN[0]
        for baseline in (80, 335):
            y = baseline - BOARD_ORIGIN[1]
            plates = np.maximum(
                plates, coverage(round_rect_sdf(w, h, x - 9, y - 18, x + 29, y + 4, 6))
            )
    for x_text in (94, 895):
        x = x_text - BOARD_ORIGIN[0]
        y = 341 - BOARD_ORIGIN[1]
        plates = np.maximum(plates, coverage(round_rect_sdf(w, h, x - 9, y - 17, x + 33, y + 3, 6)))

    # A carved groove between the rows, broken by small brass studs.
    x, y = grid(w, h)
    mid = 200 - BOARD_ORIGIN[1]
    groove = coverage(np.abs(y - mid) - 1.2) * coverage(np.abs(x - w / 2) - 318)
    image *= 1 - groove[..., None] * 0.45
    over(image, (1.0, 0.9, 0.7), coverage(np.abs(y - mid - 2.2) - 0.6) * coverage(np.abs(x - w / 2) - 318) * 0.35)

    # Pits and stores.
    hollows = np.zeros((h, w))
    for row in range(2):
        for column in range(7):
            cx, cy = board_pit_centre(row, column)
            hollows = np.maximum(hollows, coverage(ellipse_sdf(w, h, cx, cy, 36, 44)))
    left_store = coverage(round_rect_sdf(w, h, 32, 36, 127, 264, 44))
    right_store = coverage(round_rect_sdf(w, h, 833, 36, 928, 264, 44))
    hollows = np.maximum(hollows, np.maximum(left_store, right_store))
    carve(image, hollows, depth=1.0, interior_shade=0.46)

    # Brass studs between the pit columns on the groove.
    for column in range(6):
        cx = 250 + 100 * column - BOARD_ORIGIN[0]
        stud = coverage(ellipse_sdf(w, h, cx, mid, 4.5, 4.5))
        drop_shadow(image, stud, 1, 1, 1.2, 0.6)
        d = np.hypot(x - cx + 1.5, y - mid + 1.5)
        shade = np.clip(1.0 - d / 7.0, 0, 1)[..., None]
        colour = np.asarray(BRASS_DARK) * (1 - shade) + np.asarray((1.0, 0.93, 0.7)) * shade
        over(image, colour, stud)

    # Count plates: pale maple, slightly sunk.
    plate_colour = np.asarray((0.97, 0.88, 0.70)) * 0.92 + 0.08 * image
    plate_shadow = blur(shift(1 - plates, 1, 1, fill=1.0), 1.0) * plates
    over(image, plate_colour, plates)
    over(image, (0.35, 0.2, 0.08), np.clip(plate_shadow * 0.6, 0, 1))

    bevel_frame(image, 0, 6, light_alpha=0.55, dark_alpha=0.6, radius=16)
    image *= body[..., None]
    return image


# ---------------------------------------------------------------- seed


def teardrop_sdf(dx, dy, rx, ry, angle):
    """Approximate distance to an egg shape, narrow end up, tilted by angle."""
    c, s = np.cos(angle), np.sin(angle)
    u, v = c * dx - s * dy, s * dx + c * dy
    width = rx * (1 + 0.28 * np.clip(v / ry, -1, 1))
    return (np.hypot(u / width, v / ry) - 1.0) * min(rx, ry)


def seed_sprite(size=(18, 20), centre=(8.7, 9.6), radii=(6.4, 8.6), angle=-0.45):
    """Colour image (premultiplied on black) and alpha of one glossy seed."""
    w, h = size
    scale = 4
    big_w, big_h = w * scale, h * scale
    cx, cy = centre[0] * scale, centre[1] * scale
    rx, ry = radii[0] * scale, radii[1] * scale
    x, y = grid(big_w, big_h)
    shape = coverage(teardrop_sdf(x - cx, y - cy, rx, ry, angle))
    shadow = coverage(teardrop_sdf(x - cx - 1.6 * scale, y - cy - 1.8 * scale, rx, ry, angle))
    # Body: ivory shading to amber at the lower right, warm dark rim.
    dx, dy = (x - cx) / rx, (y - cy) / ry
    c, s = np.cos(angle), np.sin(angle)
    u, v = c * dx - s * dy, s * dx + c * dy
    r = np.clip(np.hypot(u / (1 + 0.28 * np.clip(v, -1, 1)), v), 0, 1)
    light = np.clip(0.55 - 0.45 * dx - 0.55 * dy, 0, 1)
    body = np.asarray((1.0, 0.96, 0.84)) * light[..., None] + np.asarray((0.86, 0.60, 0.30)) * (1 - light[..., None])
    rim = np.clip((r - 0.72) / 0.28, 0, 1) ** 1.5
    body = body * (1 - rim[..., None]) + np.asarray((0.45, 0.22, 0.08)) * rim[..., None]
    # A faint seam along the long axis, like the ridge of a bean.
    seam = np.clip(1 - np.abs(u - 0.25 + 0.1 * v * v) * 8, 0, 1) * np.clip(1 - np.abs(v) * 1.2, 0, 1) * 0.3
    body = body * (1 - seam[..., None]) + np.asarray((0.55, 0.3, 0.1)) * seam[..., None]
    # Gloss: a sharp highlight and a soft one.
    spot = np.hypot((x - (cx - 0.32 * rx)) / (0.32 * rx), (y - (cy - 0.45 * ry)) / (0.22 * ry))
    gloss = np.clip(1.2 - spot, 0, 1) ** 1.2
    body = body * (1 - gloss[..., None]) + gloss[..., None]
    alpha = np.maximum(shape, shadow * 0.45 * (1 - shape))
    colour = body * shape[..., None]  # the shadow adds nothing: it only darkens through the mask
    # Box-filter down to the sprite's size.
    colour = colour.reshape(h, scale, w, scale, 3).mean(axis=(1, 3))
    alpha = alpha.reshape(h, scale, w, scale).mean(axis=(1, 3))
    return colour, alpha


# ---------------------------------------------------------------- buttons


def button_face(w, h, corner_colour, radius=9):
    """Dark walnut plate with a brass edge, on the colour of what lies behind."""
    image = np.empty((h, w, 3))
    image[:] = corner_colour
    plate = coverage(round_rect_sdf(w, h, 0.5, 0.5, w - 0.5, h - 0.5, radius))
    face = wood(w, h, WALNUT_LIGHT, WALNUT_DARK, seed=w * 7 + h, ring_spacing=14.0)
    x, y = grid(w, h)
    sheen = np.clip(1.0 - y / h, 0, 1) ** 2 * 0.22
    face = face + sheen[..., None] * 0.5
    over(image, face, plate)
    brass_ring = np.clip(
        plate - coverage(round_rect_sdf(w, h, 2.5, 2.5, w - 2.5, h - 2.5, radius - 2)), 0, 1
    )
    t = np.clip(y / h, 0, 1)[..., None]
    brass = np.asarray(BRASS) * (1 - t) + np.asarray(BRASS_DARK) * t
    over(image, brass, brass_ring)
    inner_line = np.clip(
        coverage(round_rect_sdf(w, h, 4, 4, w - 4, h - 4, radius - 3))
        - coverage(round_rect_sdf(w, h, 5, 5, w - 5, h - 5, radius - 4)),
        0,
        1,
    )
    over(image, (0.05, 0.02, 0.0), inner_line * 0.5)
    return image


def make_button(text, size=(310, 40), corner_colour=PANEL):
    w, h = size
    image = button_face(w, h, corner_colour)
    fnt = font("DejaVuSerif-Bold.ttf", 20)
    gradient_text_small(image, text, fnt, (w / 2, h / 2 + 1))
    return image


def gradient_text_small(image, text, fnt, xy):
    h, w, _ = image.shape
    mask = text_mask((w, h), text, fnt, xy, "mm")
    rows = np.nonzero(mask.max(axis=1) > 0)[0]
    y0, y1 = rows.min(), rows.max() + 1
    t = np.clip((np.arange(h) - y0) / max(1, y1 - y0), 0, 1)[:, None, None]
    colour = np.asarray((1.0, 0.95, 0.78)) * (1 - t) + np.asarray((0.93, 0.72, 0.38)) * t
    colour = np.broadcast_to(colour, image.shape)
    shadow = blur(shift(mask, 1, 2), 1.0)
    over(image, (0.0, 0.0, 0.0), np.clip(shadow * 0.9, 0, 1))
    over(image, colour, mask)


def make_small_button(text, mark, size=(100, 60), corner_colour=PANEL):
    """Yes and No of the exit box: the word with a check mark or a cross."""
    w, h = size
    image = button_face(w, h, corner_colour, radius=10)
    fnt = font("DejaVuSerif-Bold.ttf", 22)
    gradient_text_small(image, text, fnt, (w / 2 + 11, h / 2 + 1))
    layer = Image.new("L", (w * 4, h * 4), 0)
    draw = ImageDraw.Draw(layer)
    cx, cy = 22 * 4, h / 2 * 4
    if mark == "check":
        draw.line([(cx - 22, cy + 2), (cx - 6, cy + 18), (cx + 24, cy - 20)], fill=255, width=14, joint="curve")
        colour = (0.55, 0.85, 0.45)
    else:
        draw.line([(cx - 18, cy - 18), (cx + 18, cy + 18)], fill=255, width=14)
        draw.line([(cx - 18, cy + 18), (cx + 18, cy - 18)], fill=255, width=14)
        colour = (0.95, 0.45, 0.35)
    mark_mask = np.asarray(layer.resize((w, h), Image.BOX), dtype=np.float64) / 255.0
    over(image, (0, 0, 0), np.clip(blur(shift(mark_mask, 1, 2), 1.0) * 0.9, 0, 1))
    over(image, colour, mark_mask)
    return image


# ---------------------------------------------------------------- hover glow


def glow_pair(phase, size=(310, 40)):
    """Colour image (on black) and alpha of the glow round a highlighted button.

    The glow lies along the inside of the button's edge and leaves the middle
    clear so the lettering stays readable; phase 1 is wider and brighter, so
    switching between the two reads as a pulse."""
    w, h = size
    x, y = grid(w, h)
    inside = -round_rect_sdf(w, h, 0, 0, w, h, 9)  # distance into the button
    reach = 4.0 if phase == 0 else 10.0
    peak = 0.6 if phase == 0 else 0.95
    band = np.clip(1.0 - inside / reach, 0, 1) ** 1.6 * peak
    line = coverage(np.abs(inside - 2.0) - 1.0) * (0.9 if phase == 0 else 1.0)
    alpha = np.maximum(band, line) * coverage(-inside)
    colour = np.empty((h, w, 3))
    colour[:] = (1.0, 0.82, 0.40) if phase == 0 else (1.0, 0.90, 0.55)
    colour = colour * np.clip(0.7 + 0.6 * (1 - inside / reach), 0, 1.3)[..., None].clip(0, 1)
    # A small glowing seed at each end points at the choice.
    for cx, sign in ((18.0, 1), (w - 18.0, -1)):
        grow = 0 if phase == 0 else 1.2
        seed = coverage(ellipse_sdf(w, h, cx, h / 2, 4.0 + grow, 5.5 + grow))
        halo = np.clip(1.0 - np.hypot(x - cx, (y - h / 2) * 0.9) / (10.0 + 3 * phase), 0, 1) ** 2
        halo *= 0.55 if phase == 0 else 0.8
        seed_alpha = np.maximum(seed, halo)
        colour = colour * (1 - seed_alpha[..., None]) + np.asarray((1.0, 0.93, 0.65)) * seed_alpha[..., None]
        alpha = np.maximum(alpha, seed_alpha)
        del sign
    colour = np.clip(colour, 0, 1) * alpha[..., None]
    return colour, alpha


# ---------------------------------------------------------------- menu


def small_pit_row(image, y, count, seeds, x_first, step, rx, ry, seed_sprite_pair):
    h, w, _ = image.shape
    hollows = np.zeros((h, w))
    for i in range(count):
        hollows = np.maximum(hollows, coverage(ellipse_sdf(w, h, x_first + step * i, y, rx, ry)))
    carve(image, hollows, depth=0.6, interior_shade=0.55)
    colour, alpha = seed_sprite_pair
    sh, sw = alpha.shape
    for i in range(count):
        cx = x_first + step * i
        for k, (ox, oy) in enumerate(seeds[: (i % 4) + 1]):
            px, py = int(cx + ox - sw / 2), int(y + oy - sh / 2)
            region = image[py : py + sh, px : px + sw]
            region *= 1 - alpha[..., None]
            region += colour


def make_menu(seed_pair):
    w, h = 600, 380
    image = wood(w, h, HONEY_LIGHT, HONEY_DARK, seed=23, ring_spacing=30.0)
    x, y = grid(w, h)
    # Darker round the edges so the eye goes to the middle.
    vignette = np.clip(np.hypot((x - w / 2) / (w * 0.62), (y - h / 2) / (h * 0.75)), 0, 1) ** 2
    image *= (1 - 0.35 * vignette)[..., None]
    bevel_frame(image, 0, 7, light_alpha=0.5, dark_alpha=0.6, radius=14)

    gradient_text(image, "Sowrow", font("DejaVuSerif-Bold.ttf", 54), (w / 2, 48), BRASS_TOP, BRASS_BOTTOM)
    fnt = font("DejaVuSerif-Italic.ttf", 15)
    engraved_text(image, "sow \u00b7 relay \u00b7 capture", fnt, (w / 2, 92), (0.27, 0.14, 0.06),
                  shadow=(1.0, 0.9, 0.7), depth=1)

    # Two little rows of pits on either side of the subtitle.
    offsets = [(-4, -3), (4, 2), (-3, 4), (4, -4)]
    for x_first in (48, 448):
        small_pit_row(image, 112, 4, offsets, x_first, 34, 13, 13, seed_pair)

    # The recessed panel the buttons sit on.
    px0 = MENU_BUTTON_LEFT - 22
    px1 = MENU_BUTTON_LEFT + 310 + 22
    py0 = MENU_BUTTON_TOP - 14
    py1 = MENU_BUTTON_TOP + 3 * MENU_BUTTON_STEP + 40 + 14
    panel = coverage(round_rect_sdf(w, h, px0, py0, px1, py1, 18))
    lip = np.clip(coverage(round_rect_sdf(w, h, px0 - 5, py0 - 5, px1 + 5, py1 + 5, 22)) - panel, 0, 1)
    over(image, (0.55, 0.33, 0.16), lip * 0.9)
    bevel_ring = lip * np.clip((y - py0) / (py1 - py0), 0, 1)
    over(image, (1.0, 0.9, 0.7), lip * (1 - np.clip((y - py0 + 5) / 20, 0, 1)) * 0.35)
    over(image, (0.1, 0.05, 0.0), bevel_ring * 0.3)
    over(image, PANEL, panel)
    shadow = blur(shift(1 - panel, 4, 5, fill=1.0), 4.0) * panel
    # Keep the shadow off the button slots so the buttons' corners match the flat panel.
    over(image, (0.03, 0.015, 0.0), np.clip(shadow * 0.8, 0, 1) * slot_free(w, h))
    return image


BRASS_TOP = (1.0, 0.92, 0.62)
BRASS_BOTTOM = (0.80, 0.54, 0.20)


def slot_free(w, h):
    """1 away from the (enlarged) button slots, 0 on them."""
    free = np.ones((h, w))
    for slot in range(4):
        top = MENU_BUTTON_TOP + MENU_BUTTON_STEP * slot
        free = np.minimum(free, 1 - coverage(round_rect_sdf(w, h, MENU_BUTTON_LEFT - 6, top - 6,
                                                            MENU_BUTTON_LEFT + 316, top + 46, 10)))
    return free


# ---------------------------------------------------------------- exit box


EXIT_BOX_INNER = (0.24, 0.14, 0.08)


def make_exit_box():
    w, h = 300, 200
    image = wood(w, h, WALNUT_LIGHT, WALNUT_DARK, seed=31, ring_spacing=16.0)
    image = image * 0.5 + np.asarray(EXIT_BOX_INNER) * 0.5
    bevel_frame(image, 0, 5, light_alpha=0.4, dark_alpha=0.6, radius=12)
    x, y = grid(w, h)
    ring = np.clip(
        coverage(round_rect_sdf(w, h, 8, 8, w - 8, h - 8, 8))
        - coverage(round_rect_sdf(w, h, 10, 10, w - 10, h - 10, 6)),
        0,
        1,
    )
    over(image, BRASS, ring * 0.9)
    # The Yes and No buttons go on a flat bed of one colour (their corners).
    bed = coverage(round_rect_sdf(w, h, 34, 74, 266, 146, 14))
    over(image, EXIT_BOX_INNER, bed)
    gradient_text(image, "Quit Sowrow?", font("DejaVuSerif-Bold.ttf", 24), (w / 2, 34), BRASS_TOP, BRASS_BOTTOM)
    engraved_text(image, "Do you really want to exit the game?", font("DejaVuSans.ttf", 13), (w / 2, 60),
                  IVORY, depth=1)
    engraved_text(image, "\u2190 \u2192 choose    Enter confirm    Esc stay", font("DejaVuSans.ttf", 13),
                  (w / 2, 170), (0.92, 0.80, 0.58), depth=1)
    return image


# ---------------------------------------------------------------- pages


def paper(w, h, seed):
    rng = np.random.RandomState(seed)
    x, y = grid(w, h)
    fibres = smooth_noise(w, h, w // 8, h // 8, rng)
    blotch = smooth_noise(w, h, 6, 4, rng)
    t = np.clip(0.25 * fibres + 0.45 * blotch, 0, 1)
    edge = np.clip(np.hypot((x - w / 2) / (w * 0.55), (y - h / 2) / (h * 0.58)), 0, 1) ** 3
    t = np.clip(t + 0.5 * edge, 0, 1)[..., None]
    return np.asarray(PAPER_LIGHT) * (1 - t) + np.asarray(PAPER_DARK) * t


def page_base(title, seed):
    w, h = 600, 380
    image = wood(w, h, HONEY_LIGHT, HONEY_DARK, seed=seed, ring_spacing=24.0)
    bevel_frame(image, 0, 6, light_alpha=0.5, dark_alpha=0.6, radius=12)
    sheet = coverage(round_rect_sdf(w, h, 14, 12, w - 14, h - 12, 8))
    drop_shadow(image, sheet, 3, 4, 3.0, 0.55)
    over(image, paper(w, h, seed + 1), sheet)
    gradient_text(image, title, font("DejaVuSerif-Bold.ttf", 26), (w / 2, 34), (0.62, 0.36, 0.14),
                  (0.40, 0.20, 0.07))
    x, y = grid(w, h)
    rule = coverage(np.abs(y - 55.5) - 0.6) * coverage(np.abs(x - w / 2) - 250)
    over(image, (0.55, 0.36, 0.18), rule * 0.8)
    return image


def write_lines(image, lines, x, y, width, size=14, leading=18, colour=INK, bold_colour=(0.50, 0.22, 0.06)):
    """Lines of (kind, text); kind 'h' is a heading, 'b' a bullet, 't' plain,
    'k' a key line 'key|what'. Returns the y after the last line."""
    h, w, _ = image.shape
    regular = font("DejaVuSans.ttf", size)
    bold = font("DejaVuSans-Bold.ttf", size)
    layer = Image.new("L", (w, h), 0)
    accent = Image.new("L", (w, h), 0)
    draw = ImageDraw.Draw(layer)
    draw_accent = ImageDraw.Draw(accent)
    for kind, text in lines:
        if kind == "gap":
            y += leading // 2
            continue
        if kind == "h":
            draw_accent.text((x, y), text, font=bold, fill=255)
        elif kind == "b":
            draw_accent.text((x + 2, y), "\u2022", font=bold, fill=255)
            draw.text((x + 16, y), text, font=regular, fill=255)
        elif kind == "t":
            draw.text((x + 16, y), text, font=regular, fill=255)
        elif kind.startswith("k"):
            key_width = int(kind[1:]) if len(kind) > 1 else 110
            key, what = text.split("|")
            draw_accent.text((x + 6, y), key, font=bold, fill=255)
            draw.text((x + 6 + key_width, y), what, font=regular, fill=255)
            if bold.getlength(key) > key_width - 6:
                raise ValueError(f"key too wide: {key}")
        # A line running past its column would collide with the next one.
        right = max(draw.textbbox((0, 0), "", font=regular)[2], 0)
        for box_layer in (layer, accent):
            columns = np.nonzero(np.asarray(box_layer)[y : y + leading].max(axis=0))[0]
            if len(columns):
                right = max(right, columns.max())
        if right > x + width:
            raise ValueError(f"line too long: {text}")
        y += leading
    over(image, colour, np.asarray(layer, dtype=np.float64) / 255.0)
    over(image, bold_colour, np.asarray(accent, dtype=np.float64) / 255.0)
    return y


def footer(image, text):
    h, w, _ = image.shape
    box = coverage(round_rect_sdf(w, h, 40, h - 44, w - 40, h - 20, 8))
    over(image, (0.42, 0.24, 0.11), box * 0.92)
    engraved_text(image, text, font("DejaVuSans-Bold.ttf", 14), (w / 2, h - 32), IVORY, depth=1)


def make_instructions():
    image = page_base("How to Play", seed=41)
    lines = [
        ("h", "The board"),
        ("b", "Two rows of seven pits, four seeds in each. Player 1 owns the lower row"),
        ("t", "and the right store; Player 2 or the computer, the upper row and the left."),
        ("h", "Sowing"),
        ("b", "Pick a pit on your row that holds seeds. Its seeds are sown one per pit,"),
        ("t", "counter-clockwise: rightwards along the lower row, leftwards along the upper."),
        ("b", "Relay: if the pit after the one where your last seed landed holds seeds,"),
        ("t", "sow those on the same way: click that pit or press A. Again and again."),
        ("h", "Capture"),
        ("b", "If that next pit is empty, you take every seed of the pit beyond it into"),
        ("t", "your store, on either row. Then it is the other player's turn."),
        ("h", "End of the game"),
        ("b", "It ends when the player to move has no seeds on their row, or only two"),
        ("t", "seeds are left on the board. The larger store wins; equal stores tie."),
    ]
    write_lines(image, lines, 30, 62, 545, size=13, leading=18)
    footer(image, "N  controls      M or Esc  main menu")
    return image


def make_controls():
    image = page_base("Controls", seed=43)
    left = [
        ("h", "Menus"),
        ("k64", "Mouse|point, then click to choose"),
        ("k64", "\u2191 \u2193|move the highlight"),
        ("k64", "Enter|choose"),
        ("k64", "Esc|back, or ask to quit"),
        ("k64", "Y / N|quit at once / stay"),
        ("k64", "\u2190 \u2192|Yes or No in the exit box"),
        ("gap", ""),
        ("h", "Help pages"),
        ("k64", "N / P|next / previous page"),
        ("k64", "M|main menu"),
        ("k64", "Esc|one page back"),
        ("gap", ""),
        ("h", "Anywhere"),
        ("k64", "S|seed sound on or off"),
        ("k64", "Pointer|chases floating seeds"),
    ]
    right = [
        ("h", "At the board"),
        ("k82", "Click|a pit on your row: sow it"),
        ("k82", "Click, A|the next pit: relay"),
        ("k82", "C / P / R|computer, you or chance"),
        ("t", "   begins (vs. computer)"),
        ("k82", "P|play again after a game"),
        ("k82", "Esc|pause; Esc again: leave"),
        ("k82", "Other key|carry on after a pause"),
        ("gap", ""),
        ("h", "Joining a network game"),
        ("k82", "0-9 .|type the host's address"),
        ("k82", "Bksp|delete the last character"),
        ("k82", "Enter|connect"),
    ]
    write_lines(image, left, 26, 62, 274, size=13, leading=17)
    write_lines(image, right, 316, 62, 262, size=13, leading=17)
    h, w, _ = image.shape
    x, y = grid(w, h)
    divider = coverage(np.abs(x - 306.5) - 0.5) * coverage(np.abs(y - 194) - 124)
    over(image, (0.55, 0.36, 0.18), divider * 0.6)
    footer(image, "P or Esc  rules      M  main menu")
    return image


# ---------------------------------------------------------------- icon


def make_icon(size):
    """RGBA icon: a small carved board with two rows of pits and seeds."""
    big = 512
    w = h = big
    image = wood(w, h, HONEY_LIGHT, HONEY_DARK, seed=53, ring_spacing=70.0)
    tile = coverage(round_rect_sdf(w, h, 24, 24, w - 24, h - 24, 90))
    hollows = np.zeros((h, w))
    centres = []
    for row in range(2):
        for column in range(3):
            cx, cy = 176 + 80 * column, 190 + 132 * row
            centres.append((cx, cy))
            hollows = np.maximum(hollows, coverage(ellipse_sdf(w, h, cx, cy, 32, 50)))
    hollows = np.maximum(hollows, coverage(round_rect_sdf(w, h, 56, 140, 120, 372, 32)))
    hollows = np.maximum(hollows, coverage(round_rect_sdf(w, h, 392, 140, 456, 372, 32)))
    carve(image, hollows, depth=2.5, interior_shade=0.5)
    bevel_frame(image, 24, 14, light_alpha=0.55, dark_alpha=0.6, radius=90)
    colour, alpha = seed_sprite((48, 52), (23.2, 25.0), (16.6, 22.4), -0.45)
    sh, sw = alpha.shape
    spots = {0: [(0, -8)], 1: [(-10, -18), (10, 16)], 2: [(-10, -24), (12, -4), (-4, 24)],
             3: [(0, 0)], 4: [(-8, -10), (10, 14)], 5: [(0, -20), (-6, 18)]}
    for index, (cx, cy) in enumerate(centres):
        for ox, oy in spots[index]:
            px, py = int(cx + ox * 0.8 - sw / 2), int(cy + oy - sh / 2)
            region = image[py : py + sh, px : px + sw]
            region *= 1 - alpha[..., None]
            region += colour
    for px, py in ((64, 170), (64, 226), (400, 250)):
        region = image[py : py + sh, px : px + sw]
        region *= 1 - alpha[..., None]
        region += colour
    rgba = np.dstack([np.clip(image, 0, 1), tile])
    picture = Image.fromarray(np.round(rgba * 255).astype(np.uint8), mode="RGBA")
    return picture.resize((size, size), Image.LANCZOS)


# ---------------------------------------------------------------- main


def generate(root):
    os.makedirs(os.path.join(root, "Images"), exist_ok=True)

    seed_colour, seed_alpha = seed_sprite()
    write_bmp(root, "board.bmp", make_board())
    write_bmp(root, "seed1_mask.bmp", np.repeat((1.0 - seed_alpha)[..., None], 3, axis=2))
    write_bmp(root, "seed1.bmp", seed_colour)
    write_bmp(root, "Menu.bmp", make_menu((seed_colour, seed_alpha)))

    buttons = {
        "vsplayer.bmp": "Versus Player",
        "vscomputer.bmp": "Versus Computer",
        "instruction.bmp": "Instructions",
        "exit.bmp": "Exit",
        "vsplayer1.bmp": "On This Computer",
        "vsplayer2.bmp": "Over the Network",
        "back.bmp": "Back",
        "host.bmp": "Host a Game",
        "connect.bmp": "Connect to a Host",
    }
    for name, text in buttons.items():
        write_bmp(root, name, make_button(text))

    write_bmp(root, "Instruction2.bmp", make_instructions())
    write_bmp(root, "Controls.bmp", make_controls())

    for phase, (image_name, mask_name) in enumerate(
        (("Select_1.bmp", "Select_Mask1.bmp"), ("Select_2.bmp", "Select_Mask2.bmp"))
    ):
        colour, alpha = glow_pair(phase)
        write_bmp(root, image_name, colour)
        write_bmp(root, mask_name, np.repeat((1.0 - alpha)[..., None], 3, axis=2))

    write_bmp(root, "exit_question_box.bmp", make_exit_box())
    write_bmp(root, "yes.bmp", make_small_button("Yes", "check", corner_colour=EXIT_BOX_INNER))
    write_bmp(root, "no.bmp", make_small_button("No", "cross", corner_colour=EXIT_BOX_INNER))

    for size in (48, 64, 128, 256):
        folder = os.path.join(root, "data", "icons", "hicolor", f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        make_icon(size).save(os.path.join(folder, "sowrow.png"), optimize=False)


if __name__ == "__main__":
    generate(sys.argv[1] if len(sys.argv) > 1 else ROOT)
