"""A whole game against the computer as a screen reader user plays it: everything is read from
and done through the AT-SPI tree (names, press actions), and the result must reach the reader
both as an announced status line or game-over window and in the window's panel."""
import re
import sys
import time

import pyatspi
from gi.repository import GLib

announced = []  # texts inserted into the status announcer, as a reader receives them


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def pump():
    """Delivers the events that arrived, without blocking."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, probe, seconds=20):
    """Polls `probe` until it answers something true, for at most `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pump()
        try:
            answer = probe()
        except Exception:  # an element going away mid-read is retried
            answer = None
        if answer:
            return answer
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def find(node, role, pattern):
    """The first element under `node` of `role` whose name matches `pattern`."""
    for child in children(node):
        if child.getRoleName() == role and re.fullmatch(pattern, child.name or ""):
            return child
        found = find(child, role, pattern)
        if found:
            return found
    return None


def press(element):
    action = element.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail(f"{element.name!r} has no press action ({names})")
    action.doAction(names.index("Press"))


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in children(desktop) if a and a.name == "Glyphdrop"), None)


def on_text_inserted(event):
    if event.source.name == "Newest status":
        announced.append(str(event.any_data))


# Listening before the program starts: Qt asks which events readers want as it starts.
pyatspi.Registry.registerEventListener(on_text_inserted, "object:text-changed:insert")
open(sys.argv[1], "w").close()
app = wait_for("the program on the accessibility bus", application)
main = wait_for("the main window", lambda: find(app, "frame", "Glyphdrop.*"))
cells = {}  # (column, row) -> cell element; the drop row is row 0
for cell in children(main):
    m = re.match(r"(?:Column (\d), row (\d)|Above column (\d)): ", cell.name or "")
    if m and cell.getRoleName() == "table cell":
        cells[(int(m[1] or m[3]), int(m[2] or 0))] = cell
if len(cells) != 49:
    fail(f"the board shows {len(cells)} named holes, not 49")
turn = find(main, "label", "Turn:.*")
rack = find(main, "panel", "Your letters:.*")
letters = [find(main, "push button", f"Letter {i}:.*") for i in range(1, 9)]
if not turn or not rack or None in letters:
    fail("the turn caption, the rack or a letter has no accessible name")

press(find(main, "push button", "Menu"))
press(wait_for("the menu's Play Computer", lambda: find(app, "push button", "Play Computer")))


def board():
    return {place: cell.name.split(": ", 1)[1] for place, cell in cells.items()}


def game_over():
    return find(app, "push button", "No") and find(app, "push button", "Yes")


moves = 0
while True:
    wait_for("my turn or the game's end",
                     lambda: game_over() or turn.name.startswith("Turn: Your Turn"))
    if game_over():
        break
    rack_letters = rack.name.split(": ", 1)[1].split()
    piece = next(i for i, letter in enumerate(rack_letters) if letter != "none")
    letter = rack_letters[piece]
    if not re.fullmatch(f"Letter {piece + 1}: {letter}(, chosen)?", letters[piece].name):
        fail(f"letter {piece + 1} reads {letters[piece].name!r}, the rack {rack.name!r}")
    before = board()
    column = next(c for c in [(moves + k) % 7 + 1 for k in range(7)] if before[(c, 1)] == "empty")
    landing = max(r for r in range(1, 7) if before[(column, r)] == "empty")
    press(letters[piece])
    wait_for("the letter to be chosen", lambda: letters[piece].name.endswith(", chosen"))
    press(cells[(column, 1)])
    wait_for(f"{letter} to land in column {column}",
             lambda: board()[(column, landing)].startswith(f"{letter}, "))
    if "yours" not in board()[(column, landing)] and "the word" not in board()[(column, landing)]:
        fail(f"my letter reads {board()[(column, landing)]!r}")
    moves += 1

result = find(app, "label", r"Winner is .*|Game Over\. No Winner\.")
if not result:
    fail("the game-over window shows no result line")
winner = re.match(r"Winner is (\S+)", result.name)
expected = f"Game Over. Winner is {winner[1]}" if winner else result.name
if not any(expected in a for a in announced):
    fail(f"{expected!r} was not announced (announced: {announced})")
if not any(re.match(r"Computer played [A-Z] in column \d\.", a) for a in announced):
    fail(f"no move of the computer was announced (announced: {announced})")
tally = find(main, "label", "Played: 1")
if not tally:
    fail("the panel does not count the game")
print(f"{moves} moves by accessibility; result: {result.name}; announced: {announced}")
press(find(app, "push button", "No"))
