#!/usr/bin/env python3
"""The calculator as a screen reader sees it, through AT-SPI: the tree (roles, names,
descriptions, states, relations), a calculation driven through the accessibility interfaces, the
results announced, the refused writes, the text at every offset, extents and hit-testing.

Usage: accessibility.py PROGRAM SCALE   (run with its own D-Bus session bus, under X)
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

import pyatspi  # noqa: E402

PROGRAM, SCALE = sys.argv[1], int(sys.argv[2])
TITLE = "Quarn EV calculator"
HINT = "Input a . instead of a comma example:  124.56"
INPUTS = ["Money to call", "Money to win after your call", "Amount of known cards", "Your outs"]
RESULTS = ["Call EV", "Fold EV"]
# Name -> (left, top, width, height) in the window, before scaling
GEOMETRY = {
    "Money to call": (195, 64, 137, 21),
    "Money to win after your call": (195, 91, 137, 21),
    "Amount of known cards": (195, 127, 137, 21),
    "Your outs": (195, 162, 137, 21),
    "Call EV": (195, 207, 137, 21),
    "Fold EV": (195, 239, 137, 21),
    "Calculated": (195, 296, 75, 25),
}
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


events = []


def on_event(event):
    try:
        role = event.source.getRole()
        name = event.source.name
    except Exception:  # the source may be gone
        role, name = None, ""
    events.append((event.type, role, name, event.any_data))


for kind in ("object:announcement", "object:state-changed:showing", "object:text-changed:insert"):
    pyatspi.Registry.registerEventListener(on_event, kind)

app = subprocess.Popen([PROGRAM, "--ignored"], env=dict(os.environ, QT_SCALE_FACTOR=str(SCALE)))
frame = None
for _ in range(300):
    pump(0.1)
    for application in pyatspi.Registry.getDesktop(0):
        if application is None:
            continue
        for window in application:
            if window is not None and window.name == TITLE:
                frame = window
    if frame is not None:
        break
if frame is None:
    app.kill()
    sys.exit("FAIL: no window named %r on the accessibility bus" % TITLE)
pump(1.0)

# --- the tree
check(frame.getRole() == pyatspi.ROLE_FRAME, "the window's role is %s" % frame.getRoleName())
controls = {}
labels = {}
for child in frame:
    if child is None:
        continue
    if child.getRole() == pyatspi.ROLE_LABEL:
        labels[child.name] = child
    elif child.name:
        controls[child.name] = child
for name in INPUTS + RESULTS:
    check(name in controls, "no field named %r" % name)
check("Calculated" in controls, "no button named 'Calculated'")
if failures:
    app.kill()
    sys.exit(1)
button = controls["Calculated"]
check(button.getRole() == pyatspi.ROLE_PUSH_BUTTON, "the button's role: " + button.getRoleName())
# Without a window manager, the window is active once it is given the X input focus.
subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^%s$" % TITLE, "windowfocus", "--sync"],
               check=True)
for _ in range(50):
    if button.getState().contains(pyatspi.STATE_FOCUSED):
        break
    pump(0.1)
check(button.getState().contains(pyatspi.STATE_FOCUSED), "the focus does not start on the button")
check(HINT in labels, "the hint is not a label")


def relation_targets(accessible, kind):
    return [
        relation.getTarget(i)
        for relation in accessible.getRelationSet()
        if relation.getRelationType() == kind
        for i in range(relation.getNTargets())
    ]


for name in INPUTS + RESULTS:
    field = controls[name]
    states = field.getState()
    read_only = name in RESULTS
    check(field.getRole() == pyatspi.ROLE_TEXT, "%s: role %s" % (name, field.getRoleName()))
    check(states.contains(pyatspi.STATE_FOCUSABLE), name + ": not focusable")
    check(states.contains(pyatspi.STATE_READ_ONLY) == read_only, name + ": READ_ONLY wrong")
    check(states.contains(pyatspi.STATE_EDITABLE) != read_only, name + ": EDITABLE wrong")
    expected_description = "" if read_only else HINT
    check(field.description == expected_description, "%s: description %r" % (name, field.description))
    label = labels.get(name + ":")
    check(label is not None, name + ": no label")
    if label is not None:
        check(label in relation_targets(field, pyatspi.RELATION_LABELLED_BY), name + ": not LABELLED_BY")
        check(field in relation_targets(label, pyatspi.RELATION_LABEL_FOR), name + ": no LABEL_FOR")
    try:
        field.queryEditableText()
        editable = True
    except NotImplementedError:
        editable = False
    check(editable != read_only, name + ": editable-text interface " + ("offered" if editable else "missing"))


# --- a calculation through the interfaces, announced
def calculate(inputs):
    for name, text in zip(INPUTS, inputs):
        controls[name].queryEditableText().setTextContents(text)
    del events[:]
    action = button.queryAction()
    press = [action.getName(i) for i in range(action.nActions)].index("Press")
    action.doAction(press)
    pump(0.8)
    return [controls[name].queryText().getText(0, -1) for name in RESULTS]


def result_changes():
    """The result fields whose text changed since the press, in the order they changed."""
    order = []
    for kind, role, name, data in events:
        if kind.startswith("object:text-changed") and name in ("Call EV", "Fold EV"):
            if not order or order[-1] != name:
                order.append(name)
    return order


def announced(results):
    message = "Call EV: %s, Fold EV: %s" % tuple(results)
    for kind, role, name, data in events:
        if kind == "object:announcement" and data == message:
            return True
        if kind.startswith("object:state-changed:showing") and role == pyatspi.ROLE_NOTIFICATION and name == message:
            return True
    return False


for inputs, results in [
    (["10", "30", "5", "9"], ["5.74468085106383", "-8.08510638297872"]),
    (["20", "100", "6", "9"], ["19.5652173913043", "-16.0869565217391"]),
    (["124,56", "0", "0", "0"], ["0", "-124"]),
    (["1", "1", "52", "9"], ["INF", "INF"]),
]:
    got = calculate(inputs)
    check(got == results, "%s gave %s, not %s" % (inputs, got, results))
    check(announced(results), "%s: results not announced; events: %s" % (inputs, events))
    check(result_changes() == ["Call EV", "Fold EV"],
          "%s: the results changed in the order %s" % (inputs, result_changes()))
    check(button.getState().contains(pyatspi.STATE_FOCUSED), "pressing moved the focus")

# --- refused writes: the results stay as the program set them, yet their text selects
calculate(["10", "30", "5", "9"])
for name in RESULTS:
    field = controls[name]
    before = field.queryText().getText(0, -1)
    for write in (
        lambda: Atspi.EditableText.insert_text(field, 0, "999", 3),
        lambda: Atspi.EditableText.set_text_contents(field, "hacked"),
        lambda: Atspi.EditableText.delete_text(field, 0, 3),
    ):
        try:
            write()
        except Exception:
            pass  # refused with an error
        pump(0.1)
        check(field.queryText().getText(0, -1) == before, name + ": a write changed the result")
for name in INPUTS + RESULTS:
    text = controls[name].queryText()
    check(text.addSelection(0, 1), name + ": text not selectable")
    check(tuple(text.getSelection(0)) == (0, 1), name + ": selection " + str(text.getSelection(0)))
    text.removeSelection(0)

# --- the text at every offset, and one attribute run over all of it
for name in INPUTS + RESULTS:
    text = controls[name].queryText()
    value = text.getText(0, -1)
    check(text.characterCount == len(value), "%s: %d characters for %r" % (name, text.characterCount, value))
    for offset, character in enumerate(value):
        check(chr(text.getCharacterAtOffset(offset)) == character, "%s: character %d" % (name, offset))
        at = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_CHAR)
        check((at[0], at[1], at[2]) == (character, offset, offset + 1), "%s: text at %d: %s" % (name, offset, at))
        run = text.getAttributeRun(offset, False)
        check((run[1], run[2]) == (0, len(value)), "%s: attribute run at %d: %s" % (name, offset, run[1:]))
        box = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        check(box[2] > 0 and box[3] > 0, "%s: no box for character %d" % (name, offset))
        hit = text.getOffsetAtPoint(box[0] + box[2] // 2, box[1] + box[3] // 2, pyatspi.DESKTOP_COORDS)
        check(hit == offset, "%s: the point of character %d gives offset %d" % (name, offset, hit))

# --- extents and hit-testing, in device pixels, with the window away from the screen's corner
subprocess.run(["xdotool", "search", "--name", "^%s$" % TITLE, "windowmove", "60", "40"], check=True)
pump(0.5)
window_x, window_y = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[:2]
box = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check((box.width, box.height) == (375 * SCALE, 342 * SCALE), "the window's extents: %s" % (box,))
for name, (left, top, width, height) in GEOMETRY.items():
    component = controls[name].queryComponent()
    expected = (left * SCALE, top * SCALE, width * SCALE, height * SCALE)
    inside = component.getPosition(pyatspi.WINDOW_COORDS)
    check(tuple(inside) == expected[:2], "%s: window position %s, not %s" % (name, tuple(inside), expected[:2]))
    screen = component.getExtents(pyatspi.DESKTOP_COORDS)
    check((screen.x - window_x, screen.y - window_y, screen.width, screen.height) == expected,
          "%s: screen extents %s" % (name, screen))
    centre = (screen.x + screen.width // 2, screen.y + screen.height // 2)
    hit = frame.queryComponent().getAccessibleAtPoint(centre[0], centre[1], pyatspi.DESKTOP_COORDS)
    check(hit == controls[name], "%s: the point %s hits %s" % (name, centre, hit and hit.name))

app.terminate()
app.wait(20)
print("%d failed checks at scale %d" % (len(failures), SCALE))
sys.exit(1 if failures else 0)
