"""A home router for the tests, run in the router's network namespace: it answers discovery
(SSDP) and control (SOAP) requests as an Internet Gateway Device does, writes each request to
standard output as one JSON line, and applies each forwarding with nftables.
Usage: router.py <LAN address> <WAN interface> <external address it reports> [UPnP error to
answer every forwarding with]"""

import http.server
import json
import re
import socket
import struct
import subprocess
import sys
import threading

LAN, WAN, EXTERNAL = sys.argv[1:4]
REFUSAL = int(sys.argv[4]) if len(sys.argv) > 4 else None
HTTP_PORT = 5000
SSDP = ("239.255.255.250", 1900)
SERVICE = "urn:schemas-upnp-org:service:WANIPConnection:1"
CONTROL = "/ctl/IPConn"
DESCRIPTION = """<?xml version="1.0"?>
<root xmlns="urn:schemas-upnp-org:device-1-0"><device>
<deviceType>urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType>
<serviceList><service><serviceType>urn:schemas-upnp-org:service:Layer3Forwarding:1</serviceType>
<controlURL>/ctl/L3F</controlURL></service></serviceList>
<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANDevice:1</deviceType>
<serviceList><service>
<serviceType>urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1</serviceType>
<controlURL>/ctl/CmnIfCfg</controlURL><SCPDURL>/WANCfg.xml</SCPDURL></service></serviceList>
<deviceList><device><deviceType>urn:schemas-upnp-org:device:WANConnectionDevice:1</deviceType>
<serviceList><service><serviceType>%s</serviceType>
<controlURL>%s</controlURL><SCPDURL>/WANIPCn.xml</SCPDURL></service></serviceList>
</device></deviceList></device></deviceList></device></root>""" % (SERVICE, CONTROL)
ANSWERS = {"GetStatusInfo": {"NewConnectionStatus": "Connected", "NewUptime": "1"},
           "GetExternalIPAddress": {"NewExternalIPAddress": EXTERNAL}}
forwardings = {}  # (protocol, port) -> internal client
lock = threading.Lock()


def record(**entry):
    with lock:
        print(json.dumps(entry), flush=True)


def nft(*commands):
    subprocess.run(["nft", "; ".join(commands)], check=True)


def apply_forwardings():
    nft("flush chain ip router forward", *(
        "add rule ip router forward iifname %s %s dport %s dnat to %s" %
        (WAN, protocol.lower(), port, client) for (protocol, port), client in forwardings.items()))


def answer_discovery(ssdp):
    while True:
        data, sender = ssdp.recvfrom(2048)
        search = re.search(rb"^ST:\s*(\S+)", data, re.M | re.I)
        if not data.startswith(b"M-SEARCH") or not search:
            continue
        record(discovery=search.group(1).decode(), sender=sender[0])
        ssdp.sendto(b"HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nST: %s\r\n"
                    b"USN: uuid:5e7a1e57-0000-4000-8000-000000000001::%s\r\n"
                    b"LOCATION: http://%s:%d/rootDesc.xml\r\n\r\n" %
                    (search.group(1), search.group(1), LAN.encode(), HTTP_PORT), sender)


def envelope(body):
    return ('<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/'
            'envelope/"><s:Body>%s</s:Body></s:Envelope>' % body).encode()


class Control(http.server.BaseHTTPRequestHandler):
    def reply(self, status, body, kind="text/xml"):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.reply(200, DESCRIPTION.encode())

    def do_POST(self):
        action = self.headers.get("SOAPAction", "").strip('"').rpartition("#")[2]
        body = self.rfile.read(int(self.headers.get("Content-Length", 0))).decode()
        arguments = dict(re.findall(r"<(New\w+)>([^<]*)</", body))
        record(action=action, arguments=arguments)
        error = self.act(action, arguments)
        if error:
            self.reply(500, envelope(
                '<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring>'
                '<detail><UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>%d'
                '</errorCode></UPnPError></detail></s:Fault>' % error))
            return
        values = "".join("<%s>%s</%s>" % (name, value, name)
                         for name, value in ANSWERS.get(action, {}).items())
        self.reply(200, envelope('<u:%sResponse xmlns:u="%s">%s</u:%sResponse>' %
                                 (action, SERVICE, values, action)))

    def act(self, action, arguments):
        """Does what an action asks; gives the UPnP error to answer, or None."""
        mapping = arguments.get("NewProtocol"), arguments.get("NewExternalPort")
        if action == "AddPortMapping":
            if REFUSAL:
                return REFUSAL
            forwardings[mapping] = "%s:%s" % (arguments["NewInternalClient"],
                                              arguments["NewInternalPort"])
        elif action == "DeletePortMapping":
            if forwardings.pop(mapping, None) is None:
                return 714  # NoSuchEntryInArray
        elif action not in ANSWERS:
            return 401  # Invalid Action
        with lock:
            apply_forwardings()
        return None

    def log_message(self, *_):
        pass


if __name__ == "__main__":
    nft("add table ip router", "flush table ip router",
        "add chain ip router forward { type nat hook prerouting priority dstnat; }",
        "add chain ip router out { type nat hook postrouting priority srcnat; }",
        "add rule ip router out oifname %s masquerade" % WAN)
    ssdp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    ssdp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    ssdp.bind(("", SSDP[1]))
    ssdp.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                    struct.pack("4s4s", socket.inet_aton(SSDP[0]), socket.inet_aton(LAN)))
    threading.Thread(target=answer_discovery, args=(ssdp,), daemon=True).start()
    control = http.server.ThreadingHTTPServer((LAN, HTTP_PORT), Control)
    record(ready=True)
    control.serve_forever()
