#!/usr/bin/python3
"""How long a host's search for a home router takes, with no router and with one.

usage: router_discovery.py [--repeats R] BINARY

In network namespaces of its own (a home network, a router, the outside; see
scripts/game_window.py), a copy of the game hosts R times with no router
program running and R times with the tests' router (tests/e2e/router.py).
From the moment the listener is open it polls the home network's sockets every
2 ms: the discovery lasts while the game's UDP socket is open; with a router,
it also times the line with the router's address on the screen.
"""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from game_window import (  # noqa: E402
    BLUE, FORWARDING_LINE, HOST_KEYS, ROUTER_WAN, Game, home_network, home_router,
    in_private_network, port_listened, private_display, text_shown, wait_for)

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LINE = FORWARDING_LINE + ("From the internet: " + ROUTER_WAN,)


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
        searched = until(lambda: not udp_open(pid), start)
        line = router_present and until(lambda: text_shown(game.grab(), *LINE, BLUE), start)
        return searched, line or None


def summary(name, values):
    values = sorted(v for v in values if v is not None)
    if values:
        print("%s: median %.2f s (%.2f to %.2f, n=%d)" %
              (name, values[len(values) // 2], values[0], values[-1], len(values)))


def main():
    in_private_network()
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("binary")
    parser.add_argument("--repeats", type=int, default=5)
    arguments = parser.parse_args()
    home, router, _ = home_network()
    with private_display() as display:
        bare = [one_hosting(arguments.binary, display, home, False)
                for _ in range(arguments.repeats)]
        with home_router(router):
            answered = [one_hosting(arguments.binary, display, home, True)
                        for _ in range(arguments.repeats)]
    summary("no router: discovery", [searched for searched, _ in bare])
    summary("a router: discovery", [searched for searched, _ in answered])
    summary("a router: the external address on the screen", [line for _, line in answered])


if __name__ == "__main__":
    main()
