#!/usr/bin/python3
"""Reads the real game as a screen reader does, over AT-SPI, and plays a little of it.

Run inside a display and a D-Bus session (screen_reader.sh sets them up):
    screen_reader.py VAKIDO GIVENS SOLUTION
VAKIDO is a game with one-puzzle files beside it; GIVENS and SOLUTION are that Easy
puzzle's 81 digits. Exit status 0 when every check passed.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

vakido, givens, solution = sys.argv[1], sys.argv[2], sys.argv[3]
events = []


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, test, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        result = test()
        if result:
            return result
        pump(0.1)
    fail("timed out waiting for " + what)


def find(node, role, name=None, depth=0):
    """The first accessible below node with the role (and name), breadth of a small tree."""
    if node is None or depth > 6:
        return None
    try:
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
        for child in node:
            found = find(child, role, name, depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None


def the_game():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Vakido":
            return app
    return None


def cell_name(index, text):
    return "Row %d, column %d: %s" % (index // 9 + 1, index % 9 + 1, text)


def xdotool(*arguments):
    subprocess.run(["xdotool"] + list(arguments), check=True, capture_output=True)


# Bring up the accessibility bus and its registry before the game starts, so that the game
# never registers with a registry that is not there yet (the test's one race).
pyatspi.Registry.getDesktop(0).childCount
pump(0.5)
game = subprocess.Popen([vakido], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    # The desktop's list of applications can come back empty at first: poll it.
    app = wait_for("the game on the accessibility bus", the_game, 30)
    board = wait_for("the board table", lambda: find(app, "table", "Sudoku board"))
    if board.childCount != 81:
        fail("the board has %d cells, not 81" % board.childCount)
    table = board.queryTable()
    if (table.nRows, table.nColumns) != (9, 9):
        fail("the board is %d x %d, not 9 x 9" % (table.nRows, table.nColumns))

    # Every cell reads as the puzzle on the board: its givens, the rest empty.
    wait_for("the first puzzle's cells", lambda: board.getChildAtIndex(0).name.startswith("Row 1, column 1: "))
    for index in range(81):
        cell = board.getChildAtIndex(index)
        digit = int(givens[index])
        expected = cell_name(index, "%d, given" % digit if digit else "empty")
        if cell.name != expected:
            fail("cell %d reads %r, not %r" % (index, cell.name, expected))
        if cell.queryValue().currentValue != digit:
            fail("cell %d has the value %s, not %d" % (index, cell.queryValue().currentValue, digit))
        if table.getAccessibleAt(index // 9, index % 9).name != expected:
            fail("the table's cell at row %d, column %d is another" % (index // 9, index % 9))
    print("read the board: %d givens, %d empty cells" % (sum(g != "0" for g in givens), givens.count("0")))

    # The keyboard: give the window the input focus (there is no window manager), then
    # move the selection with an arrow key and hear the focus move to the new cell.
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Vakido - Easy #1$"], check=True,
                            capture_output=True, text=True).stdout.split()[0]
    xdotool("windowfocus", "--sync", window)
    pump(0.5)

    def on_focus(event):
        if event.detail1 == 1 and event.source is not None and event.source.getRoleName() == "table cell":
            events.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    events.clear()
    xdotool("key", "Right")
    wait_for("a focus event on row 1, column 2", lambda: any(n.startswith("Row 1, column 2: ") for n in events))
    second = board.getChildAtIndex(1)
    states = second.getState()
    if not states.contains(pyatspi.STATE_SELECTED) or not states.contains(pyatspi.STATE_FOCUSED):
        fail("the selected cell is not both selected and focused")
    if board.getChildAtIndex(0).getState().contains(pyatspi.STATE_SELECTED):
        fail("the previous cell is still selected")
    print("heard the focus move to: " + events[-1])

    # Down and Right to the first empty cell, then type a wrong digit there.
    target = givens.index("0")
    for _ in range(target // 9):
        xdotool("key", "Down")
    for _ in range((target % 9 - 1) % 9):
        xdotool("key", "Right")
    wait_for("the focus on the first empty cell", lambda: events and events[-1] == cell_name(target, "empty"))
    wrong = int(solution[target]) % 9 + 1
    xdotool("type", str(wrong))
    typed = board.getChildAtIndex(target)
    wait_for("the typed digit", lambda: typed.name == cell_name(target, str(wrong)))
    if typed.queryValue().currentValue != wrong:
        fail("the typed cell's value is %s" % typed.queryValue().currentValue)
    print("heard the typed digit: " + typed.name)

    # Check, through its accessible action; the message box reads as text.
    check = find(app, "push button", "Check")
    check.queryAction().doAction(0)
    wanted = "1 cell(s) wrong, marked red."
    label = wait_for("the message box", lambda: find(app, "label", wanted) or find(app, "static", wanted))
    print("the message box says: " + label.name)
    box = label.parent
    while box is not None and box.getRoleName() not in ("dialog", "alert", "frame", "window"):
        box = box.parent
    ok = find(box if box is not None else app, "push button", "OK")
    if ok is None:
        fail("no OK button in the message box")
    ok.queryAction().doAction(0)
    wait_for("the mark", lambda: typed.name == cell_name(target, "%d, marked wrong" % wrong))
    print("heard the mark: " + typed.name)

    # A level switch through a radio button's action.
    medium = find(app, "radio button", "Medium")
    medium.queryAction().doAction(0)
    wait_for("the Medium puzzle", lambda: find(app, "filler", "Vakido - Medium #1") or find(app, "frame", "Vakido - Medium #1"))
    if not medium.getState().contains(pyatspi.STATE_CHECKED):
        fail("Medium is not checked")
    print("switched to Medium: the window reads 'Vakido - Medium #1'")

    # The About dialog reads as Qt reads a dialog: its labels, and a Close button that closes it.
    find(app, "push button", "About Vakido").queryAction().doAction(0)
    product = wait_for("the About dialog", lambda: find(app, "label", "Vakido 1.00"))
    if find(app, "label", "Created using:") is None:
        fail("the About dialog lacks its tool heading")
    print("the About dialog reads: " + product.name)
    find(app, "push button", "Close").queryAction().doAction(0)
    wait_for("the About dialog to close", lambda: find(app, "label", "Vakido 1.00") is None)
finally:
    game.kill()
    game.wait()
print("the screen reader walk passed")
