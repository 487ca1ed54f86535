#!/usr/bin/python3
"""How long a host's search for a home router takes, with no router and with one.

usage: router_discovery.py [--repeats R] BINARY

In network namespaces of its own (a home network, a router, the outside; see
scripts/game_window.py), a copy of the game hosts R times in each case: no
router program running, the same with NAT-PMP requests dropped unanswered, the
tests' router (tests/e2e/router.py) speaking UPnP, then NAT-PMP only.
From the moment the listener is open it polls the home network's sockets every
2 ms: the search lasts while the game has a UDP socket open (UPnP's, then
NAT-PMP's when no UPnP router answered); with a router, it also times the line
with the router's address on the screen.
"""
import argparse
import contextlib
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from game_window import (  # noqa: E402
    BLUE, FORWARDING_LINE, HOST_KEYS, ROUTER_WAN, Game, home_network, home_router,
    in_private_network, port_listened, private_display, text_shown, wait_for)

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LINE = FORWARDING_LINE + ("From the internet: " + ROUTER_WAN,)
QUIET = 0.3  # seconds with no UDP socket open that end the search


def udp_open(pid):
    with open("/proc/%d/net/udp" % pid) as sockets:
        return len(sockets.readlines()) > 1


def until(condition, start, limit=10):
    """Polls every 2 ms; the seconds from start to condition() true, or None."""
    while time.monotonic() - start < limit:
        if condition():
            return time.monotonic() - start
        time.sleep(0.002)
    return None


def one_hosting(binary, display, home, router_present):
    """Seconds from the listener to the end of discovery, and to the line (or None)."""
    with Game(binary, SOURCE, display, inside=home) as game:
        game.key(*HOST_KEYS, settle=0)
        pid = game.process.pid
        wait_for(lambda: port_listened(pid), "the listener", 10)
        start = time.monotonic()
        until(lambda: udp_open(pid), start)
        searched, last_open, line = 0, time.monotonic(), None
        while time.monotonic() - start < 10 and (time.monotonic() - last_open < QUIET or
                                                 router_present and line is None):
            if udp_open(pid):  # UPnP's socket, then NAT-PMP's, if it is asked
                last_open = time.monotonic()
                searched = last_open - start
            if router_present and line is None and text_shown(game.grab(), *LINE, BLUE):
                line = time.monotonic() - start
            time.sleep(0.002)
        return searched, line


def summary(name, values):
    values = sorted(v for v in values if v is not None)
    if values:
        print("%s: median %.2f s (%.2f to %.2f, n=%d)" %
              (name, values[len(values) // 2], values[0], values[-1], len(values)))


# What answers on the router's side: the router program's mode (None: it does
# not run), the line expected, and whether NAT-PMP requests are dropped unanswered.
CASES = (("no router", None, False, False),
         ("no router, NAT-PMP dropped", None, False, True),
         ("a UPnP router", "upnp", True, False),
         ("a NAT-PMP router", "natpmp", True, False))
DROP = "table ip quiet { chain in { type filter hook input priority 0; udp dport 5351 drop; }; }"


def main():
    in_private_network()
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--repeats", type=int, default=5)
    arguments = parser.parse_args()
    home, router, _ = home_network()
    with private_display() as display:
        for name, mode, answers, dropped in CASES:
            if dropped:
                router.run("nft '%s'" % DROP)
            with home_router(router, mode=mode if mode != "upnp" else None) if mode else \
                    contextlib.nullcontext():
                runs = [one_hosting(arguments.binary, display, home, answers)
                        for _ in range(arguments.repeats)]
            if dropped:
                router.run("nft delete table ip quiet")
            summary(name + ": the search", [searched for searched, _ in runs])
            summary(name + ": the external address on the screen", [line for _, line in runs])


if __name__ == "__main__":
    main()
