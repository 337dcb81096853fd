#!/usr/bin/python3
# A screen reader's share of the traffic, for the window benchmarks: it listens to every
# event the applications on the accessibility bus send and, for the kinds a screen reader
# speaks of (focus, selection, a changed name, value or text, a checked box), asks the
# event's object back for its name, role and states, as it does before it speaks.
# Listening is what makes Qt's bridge send its events at all; the questions are D-Bus
# calls the benchmarked program answers from its own event loop.
#
# Prints "listening" once its listeners are registered; on SIGTERM or SIGINT, how many
# events of each kind it heard, and how many questions found their object gone.
import signal
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

SPOKEN = (
    "focus:",
    "object:state-changed:focused",
    "object:state-changed:checked",
    "object:state-changed:selected",
    "object:selection-changed",
    "object:active-descendant-changed",
    "object:property-change:accessible-name",
    "object:property-change:accessible-value",
    "object:text-changed",
    "window:activate",
)

heard = {}
asked = 0
gone = 0


def on_event(event):
    global asked, gone
    heard[event.type] = heard.get(event.type, 0) + 1
    source = event.source
    if source is None or not event.type.startswith(SPOKEN):
        return
    asked += 1
    try:
        source.get_name()
        source.get_role()
        source.get_state_set()
    except GLib.Error:
        # The object went away before the question reached it.
        gone += 1


def stop():
    for kind, count in sorted(heard.items(), key=lambda item: -item[1]):
        print(f"  {count:7d} {kind}")
    print(f"events {sum(heard.values())}, asked back {asked}, object gone {gone}", flush=True)
    Atspi.event_quit()
    return GLib.SOURCE_REMOVE


def main():
    Atspi.init()
    listener = Atspi.EventListener.new(on_event)
    # Every kind an application sends; a screen reader registers for nearly as many.
    for kind in ("object:", "window:", "focus:", "document:"):
        listener.register(kind)
    for number in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_HIGH, number, stop)
    print("listening", flush=True)
    Atspi.event_main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
