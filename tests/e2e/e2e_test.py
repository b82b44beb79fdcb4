#!/usr/bin/python3
"""Drives the real Brindle window the way a person would, and checks the disk.

Runs inside a virtual X server with its own D-Bus session, for example:

    xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- \\
        /usr/bin/python3 e2e_test.py --build BUILD_DIR --source SOURCE_DIR

Keys and clicks go through xdotool; what the window shows is read back through
the accessibility bus (pyatspi). Brindle runs in a fresh folder of its own with
its own HOME, XDG_CONFIG_HOME and XDG_DATA_HOME, so the undo log and the trash
are those of the test and nothing of the person running it is touched.

The steps:
  1. start Brindle and find its window;
  2. choose "music category" in the task panel with the arrow keys and read the
     folder tree back;
  3. type a target location, press "Create Now", answer No to the summary and
     check every folder and the undo log on disk;
  4. undo: the folders go to the trash, the log goes away, the button greys out;
  5. create again, quit with Exit, start again and undo from the log alone.
A screenshot of each step is saved in BUILD_DIR/e2e-screenshots/.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.parse

import pyatspi
from gi.repository import GLib

WINDOW_TITLE = "Brindle -  create"
SUMMARY_TAIL = " subfolders were created successfully!\nOpen the target location now?"
UNDO_QUESTION = "Do you want to UNDO the last operation ?"
UNDO_DONE = "Undo done."


class StepFailure(Exception):
    pass


class Tally:
    def __init__(self):
        self.passed = 0
        self.failed = 0
        self.step = "setting up"

    def begin(self, step):
        self.step = step
        print(f"--- {step}", flush=True)

    def check(self, condition, what, detail=""):
        if condition:
            self.passed += 1
            print(f"  ok    {what}", flush=True)
            return
        self.failed += 1
        print(f"  FAIL  {what}" + (f": {detail}" if detail else ""), flush=True)
        raise StepFailure(what)


T = Tally()


# ---------------------------------------------------------------------------
# Waiting

def pump():
    """Lets the accessibility library take in the signals that have arrived."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def poll(probe, timeout, interval=0.1):
    """Calls probe until it returns something true, or until timeout seconds have
    passed; returns the last result. Errors from objects that went away while
    being read count as "not yet"."""
    deadline = time.monotonic() + timeout
    result = None
    while True:
        pump()
        try:
            result = probe()
        except GLib.Error:
            result = None
        if result or time.monotonic() > deadline:
            return result
        time.sleep(interval)


# ---------------------------------------------------------------------------
# The accessibility tree

def states(accessible):
    return {pyatspi.stateToString(s) for s in accessible.getState().getStates()}


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def find(accessible, role, name=None, depth=12):
    """The first object of this role (and name) at or below accessible."""
    if accessible is None:
        return None
    if accessible.getRoleName() == role and (name is None or accessible.name == name):
        return accessible
    if depth == 0:
        return None
    for child in children(accessible):
        found = find(child, role, name, depth - 1)
        if found is not None:
            return found
    return None


def outline(accessible, depth=0, most=8):
    """Prints the objects below accessible, to show what was there on a failure."""
    try:
        print(f"    {'  ' * depth}{accessible.getRoleName()} {accessible.name!r} "
              f"{sorted(states(accessible))}")
        for child in children(accessible)[:most]:
            outline(child, depth + 1, most)
    except GLib.Error as error:
        print(f"    {'  ' * depth}(unreadable: {error})")


def collect(accessible, role, found, depth=12):
    """Every object of this role at or below accessible."""
    if accessible.getRoleName() == role:
        found.append(accessible)
    if depth > 0:
        for child in children(accessible):
            collect(child, role, found, depth - 1)


def center(accessible):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if extents.width <= 0 or extents.height <= 0:
        raise StepFailure(f"'{accessible.name}' has no area on the screen")
    return extents.x + extents.width // 2, extents.y + extents.height // 2


def cells(tree):
    """The rows of a one-column tree view: (name, states) of each cell."""
    return [(cell.name, states(cell)) for cell in children(tree)
            if cell.getRoleName() == "table cell"]


# ---------------------------------------------------------------------------
# X input

def xdotool(*args, timeout=20):
    completed = subprocess.run(["xdotool", *args], capture_output=True, text=True,
                               timeout=timeout)
    if completed.returncode != 0:
        raise StepFailure(f"xdotool {' '.join(args)} failed: {completed.stderr.strip()}")
    return completed.stdout


def click(accessible):
    x, y = center(accessible)
    xdotool("mousemove", "--sync", str(x), str(y))
    xdotool("click", "1")


def key(*keys):
    xdotool("key", "--clearmodifiers", *keys)


# ---------------------------------------------------------------------------
# The category list, read the way Brindle reads it: two spaces a level.

def read_category_list(path):
    """The folders of a category list as paths relative to the target, in the
    order of the file (parents before their children)."""
    with open(path, "rb") as file:
        lines = file.read().decode("utf-8").splitlines()
    folders = []
    trail = []
    for line in lines:
        name = line.lstrip(" ")
        if not name.strip():
            continue
        depth = (len(line) - len(name)) // 2
        if depth < 1 or depth > len(trail) + 1:
            raise StepFailure(f"{path}: unexpected indent in {line!r}")
        trail = trail[:depth - 1] + [name.rstrip()]
        folders.append(os.path.join(*trail))
    return folders


def folders_below(root):
    """Every folder below root, relative to it, and every file below it."""
    found, files = set(), []
    for where, dirs, names in os.walk(root):
        for name in dirs:
            found.add(os.path.relpath(os.path.join(where, name), root))
        files.extend(os.path.join(where, name) for name in names)
    return found, files


# ---------------------------------------------------------------------------
# Brindle

class Brindle:
    def __init__(self, program, install, env, grab, shots):
        self.program = program
        self.install = install
        self.env = env
        self.grab = grab
        self.shots = shots
        self.process = None
        self.window = None
        self.app = None

    # -- starting and stopping

    def start(self):
        self.process = subprocess.Popen([self.program], cwd=self.install, env=self.env)
        out = xdotool("search", "--sync", "--onlyvisible", "--name", WINDOW_TITLE, timeout=60)
        windows = out.split()
        T.check(bool(windows), "Brindle's main window is on the screen")
        self.window = windows[0]
        xdotool("windowfocus", "--sync", self.window)

        desktop = pyatspi.Registry.getDesktop(0)

        def own_application():
            for application in children(desktop):
                if application is not None and application.get_process_id() == self.process.pid:
                    return application
            return None

        self.app = poll(own_application, 30)
        T.check(self.app is not None, "Brindle shows up on the accessibility bus")
        # Read everything afresh each time: nothing runs a main loop here to
        # keep cached copies up to date.
        self.app.setCacheMask(pyatspi.cache.NONE)
        frame = poll(lambda: find(self.app, "frame", depth=1), 20)
        T.check(frame is not None and frame.name.startswith(WINDOW_TITLE),
                "the main window is on the accessibility bus",
                frame.name if frame is not None else "no frame")
        self.frame = frame
        # Clicking into the window where a click changes nothing: its status bar.
        status = find(self.frame, "status bar")
        if status is not None:
            click(status)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def kill(self):
        if self.running():
            self.process.kill()
        if self.process is not None:
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                pass

    def focus(self):
        xdotool("windowfocus", "--sync", self.window)

    # -- the widgets

    def widget(self, role, name):
        found = poll(lambda: find(self.frame, role, name), 10)
        if found is None:
            print("  what the main window shows:")
            outline(self.frame)
            raise StepFailure(f"no {role} '{name}' in the main window")
        return found

    def button(self, name):
        return self.widget("push button", name)

    def tasks(self):
        return self.widget("tree", "Tasks")

    def folder_tree(self):
        return self.widget("tree", "Folder tree")

    def target_combo(self):
        """The Target Location box. Qt on Linux names an editable combo box by
        the text in it once it has some, so the box is also known by the label
        that names it."""
        def labelled(combo):
            for relation in combo.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                    for i in range(relation.getNTargets()):
                        if relation.getTarget(i).name.strip().rstrip(":") == "Target Location":
                            return True
            return False

        def probe():
            combos = []
            collect(self.frame, "combo box", combos)
            for combo in combos:
                if combo.name == "Target Location" or labelled(combo):
                    return combo
            return None

        found = poll(probe, 10)
        if found is None:
            print("  what the main window shows:")
            outline(self.frame)
            raise StepFailure("no combo box 'Target Location' in the main window")
        return found

    def target_text(self):
        combo = self.target_combo()
        text = find(combo, "text")
        if text is None:
            raise StepFailure("the Target Location box has no text field")
        return text

    # -- message boxes

    def alerts(self):
        return [child for child in children(self.app)
                if child.getRoleName() in ("alert", "dialog")
                and "showing" in states(child)]

    def wait_for_message(self, timeout=60):
        """The message box that comes up: (box, caption, text, buttons by name)."""
        box = poll(lambda: (self.alerts() or [None])[0], timeout)
        if box is None:
            raise StepFailure("no message box came up")

        def read():
            labels = [label.name for label in children(box) if label.getRoleName() == "label"]
            panel_buttons = {}
            for child in children(box):
                for button in [child] + children(child):
                    if button.getRoleName() == "push button":
                        panel_buttons[button.name.replace("&", "")] = button
            if not labels or not panel_buttons:
                return None
            return box, box.name, labels[0], panel_buttons

        found = poll(read, 10)
        if found is None:
            raise StepFailure("the message box shows no text or no buttons")
        return found

    def message_texts(self):
        texts = []
        for box in self.alerts():
            labels = [label.name for label in children(box) if label.getRoleName() == "label"]
            texts.append(labels[0] if labels else "")
        return texts

    def answer(self, message, name):
        """Clicks a button of the message box and waits for that box to go."""
        _, caption, text, buttons = message
        if name not in buttons:
            raise StepFailure(f"the message box has no {name} button, only {sorted(buttons)}")
        click(buttons[name])
        gone = poll(lambda: text not in self.message_texts(), 20)
        T.check(gone, f"the message box closed after {name}")

    def save_picture(self, name, window=None):
        """Saves the screen, or one window of it; returns (path, error text)."""
        path = os.path.join(self.shots, name)
        command = [self.grab, path] + ([window] if window else [])
        env = dict(self.env)
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        try:
            completed = subprocess.run(command, env=env, capture_output=True, text=True,
                                       timeout=30)
        except subprocess.TimeoutExpired:
            return path, "grab-screen did not finish"
        if completed.returncode != 0 or not os.path.isfile(path) or os.path.getsize(path) == 0:
            return path, completed.stderr.strip() or "no picture"
        return path, ""

    def screenshot(self, name, whole_screen=False):
        path, error = self.save_picture(name, None if whole_screen else self.window)
        T.check(not error, f"screenshot {path}", error)


# ---------------------------------------------------------------------------
# The steps

def choose_music(brindle, top_folders):
    """Focuses the task panel and walks down to "music category" with arrow keys."""
    brindle.focus()
    tasks = brindle.tasks()
    for _ in range(20):
        if "focused" in states(tasks):
            break
        key("Tab")
        poll(lambda: "focused" in states(tasks), 2)
    T.check("focused" in states(tasks), "the task panel has the keyboard focus")

    def selected_row():
        rows = [name for name, row_states in cells(tasks) if "selected" in row_states]
        return rows[0] if rows else ""

    landed = []
    for _ in range(12):
        current = selected_row()
        if current == "music category":
            break
        key("Down")

        def moved_on():
            row = selected_row()
            return row if row and row != current else None

        moved = poll(moved_on, 10)
        if moved is None:
            raise StepFailure(f"the arrow key did not move the selection from '{current}'")
        landed.append(moved)
    T.check(selected_row() == "music category", "the selection landed on 'music category'",
            f"it went {landed}")
    print(f"  (rows on the way: {', '.join(landed)})")

    tree = brindle.folder_tree()
    expected = list(top_folders)

    def music_rows():
        rows = cells(tree)
        return rows if [name for name, _ in rows[1:]] == expected else None

    rows = poll(music_rows, 20)
    T.check(rows is not None, f"the folder tree shows the {len(expected)} top folders of Music.txt",
            f"it shows {[name for name, _ in cells(tree)]}")
    T.check(all("checked" in row_states for _, row_states in rows),
            "every row of the folder tree is ticked",
            str([name for name, row_states in rows if "checked" not in row_states]))
    T.check("expanded" in rows[0][1], "the root row is open", str(sorted(rows[0][1])))
    return rows


def type_target(brindle, target):
    brindle.focus()
    text = brindle.target_text()
    for attempt in range(3):
        click(text)
        poll(lambda: "focused" in states(text), 5)
        key("ctrl+a")
        key("BackSpace")
        xdotool("type", "--delay", "20", target)
        typed = poll(lambda: text.queryText().getText(0, -1) == target, 10)
        if typed:
            break
        print(f"  (typing attempt {attempt + 1} read back "
              f"{text.queryText().getText(0, -1)!r}; typing again)")
    T.check(text.queryText().getText(0, -1) == target, "the Target Location box holds the target",
            text.queryText().getText(0, -1))
    tree = brindle.folder_tree()
    root = poll(lambda: (cells(tree) or [("", set())])[0][0] == target, 10)
    T.check(root, "the root row of the folder tree shows the target",
            (cells(tree) or [("", set())])[0][0])


def create_now(brindle, target, relative_folders, install, summary_shot):
    """Presses Create Now, answers No to the summary, and checks the disk."""
    count = len(relative_folders)
    create = brindle.button("Create Now")
    T.check("enabled" in states(create), "the Create Now button is enabled")
    click(create)
    message = brindle.wait_for_message(60)
    _, caption, text, buttons = message
    brindle.screenshot(summary_shot, whole_screen=True)
    T.check(caption == "Information", "the summary's caption is 'Information'", caption)
    T.check(text == f"{count}{SUMMARY_TAIL}", f"the summary reports {count} subfolders",
            repr(text))
    T.check(set(buttons) == {"Yes", "No"}, "the summary offers Yes and No", str(sorted(buttons)))
    brindle.answer(message, "No")

    T.check(os.path.isdir(target), "the target folder exists")
    made, files = folders_below(target)
    expected = set(relative_folders)
    T.check(made == expected, f"all {count} folders exist under the target with their nesting",
            f"missing {sorted(expected - made)[:5]}, extra {sorted(made - expected)[:5]}")
    T.check(not files, "no files were made under the target", str(files[:5]))

    log_path = os.path.join(install, "undo.udo")
    T.check(os.path.isfile(log_path), "the undo log install/undo.udo exists")
    with open(log_path, "rb") as file:
        log = file.read()
    T.check(log.endswith(b"\r\n"), "the undo log ends with CR LF", repr(log[-20:]))
    lines = log[:-2].split(b"\r\n")
    T.check(not any(b"\n" in line or b"\r" in line for line in lines),
            "every line of the undo log ends with CR LF, none with a bare LF or CR")
    paths = [line.decode("utf-8") for line in lines]
    T.check(len(paths) == count, f"the undo log lists {count} folders", str(len(paths)))
    T.check(all(os.path.isabs(path) for path in paths), "the undo log's paths are absolute",
            str([path for path in paths if not os.path.isabs(path)][:5]))
    T.check(set(paths) == {os.path.join(target, folder) for folder in relative_folders},
            "the undo log lists exactly the folders made")
    T.check(os.path.join(target, relative_folders[0]) == paths[0]
            and all(os.path.dirname(path) in paths[:i] or os.path.dirname(path) == target
                    for i, path in enumerate(paths)),
            "the undo log lists each folder after its parent")

    undo = brindle.button("Undo the last operation")
    T.check(poll(lambda: "enabled" in states(undo), 10), "the undo button is enabled")


def trashed_folders(data_home):
    """The trash's entries: original path -> the folder in Trash/files."""
    info = os.path.join(data_home, "Trash", "info")
    entries = {}
    if not os.path.isdir(info):
        return entries
    for name in os.listdir(info):
        if not name.endswith(".trashinfo"):
            continue
        with open(os.path.join(info, name), encoding="utf-8") as file:
            for line in file:
                if line.startswith("Path="):
                    original = urllib.parse.unquote(line[len("Path="):].strip())
                    entries[original] = os.path.join(data_home, "Trash", "files",
                                                     name[:-len(".trashinfo")])
    return entries


def undo(brindle, target, relative_folders, install, data_home, question_shot, done_shot):
    """Presses Undo, answers Yes and OK, and checks the disk and the trash."""
    undo_button = brindle.button("Undo the last operation")
    T.check("enabled" in states(undo_button), "the undo button is enabled before the undo")
    click(undo_button)
    message = brindle.wait_for_message(30)
    _, caption, text, buttons = message
    brindle.screenshot(question_shot, whole_screen=True)
    T.check(caption == "Undo Confirmation", "the question's caption is 'Undo Confirmation'",
            caption)
    T.check(text == UNDO_QUESTION, "Brindle asks whether to undo", repr(text))
    # Qt adds a button for the details: how many folders go to the trash, and where.
    T.check(set(buttons) == {"Yes", "No", "Show Details..."},
            "the question offers Yes and No, and its details", str(sorted(buttons)))
    brindle.answer(message, "Yes")

    message = brindle.wait_for_message(60)
    _, caption, text, buttons = message
    brindle.screenshot(done_shot, whole_screen=True)
    T.check(text == UNDO_DONE, "Brindle says 'Undo done.'", repr(text))
    T.check(caption == "Information", "its caption is 'Information'", caption)
    brindle.answer(message, "OK")

    T.check(os.path.isdir(target), "the target folder itself stays")
    left, files = folders_below(target)
    T.check(not left and not files, "the made folders are gone from the target",
            str(sorted(left)[:5]))
    tops = [folder for folder in relative_folders if os.sep not in folder]
    entries = trashed_folders(data_home)
    missing = [top for top in tops if os.path.join(target, top) not in entries]
    T.check(not missing, f"the {len(tops)} top folders are in the trash's records",
            str(missing[:5]))
    in_trash = set()
    for top in tops:
        trashed = entries[os.path.join(target, top)]
        if os.path.isdir(trashed):
            in_trash.add(top)
            below, _ = folders_below(trashed)
            in_trash.update(os.path.join(top, folder) for folder in below)
    T.check(in_trash == set(relative_folders),
            f"all {len(relative_folders)} folders are in {data_home}/Trash/files with their nesting",
            f"missing {sorted(set(relative_folders) - in_trash)[:5]}")
    T.check(not os.path.exists(os.path.join(install, "undo.udo")), "the undo log is gone")
    undo_button = brindle.button("Undo the last operation")
    T.check(poll(lambda: "enabled" not in states(undo_button), 10),
            "the undo button is disabled after the undo")


def quit_with_exit(brindle):
    brindle.focus()
    click(brindle.button("Exit"))
    ended = poll(lambda: not brindle.running(), 30)
    T.check(ended, "Brindle quits on the Exit button")
    T.check(brindle.process.returncode == 0, "Brindle exits with status 0",
            str(brindle.process.returncode))


# ---------------------------------------------------------------------------

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the build folder")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(here)),
                        help="the source folder (for data/Category/Music.txt)")
    parser.add_argument("--keep", action="store_true",
                        help="keep the work folder even when every check passed")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    staged = os.path.join(build, "install")
    program = os.path.join(staged, "brindle")
    grab = os.path.join(build, "tests", "e2e", "grab-screen")
    shots = os.path.join(build, "e2e-screenshots")
    music_list = os.path.join(args.source, "data", "Category", "Music.txt")

    for needed in (program, grab, music_list):
        if not os.path.exists(needed):
            print(f"e2e: {needed} is missing (build the 'stage' and 'grab-screen' targets)")
            return 1
    if not os.environ.get("DISPLAY") or not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        print("e2e: needs an X display and a D-Bus session: run it under "
              "xvfb-run ... dbus-run-session -- ...")
        return 1

    os.makedirs(shots, exist_ok=True)
    for old in os.listdir(shots):
        if old.endswith(".png"):
            os.remove(os.path.join(shots, old))
    # Under the build folder: the trash has to be on the same file system as
    # HOME, and GIO does not trash on tmpfs.
    work_parent = os.path.join(build, "e2e-work")
    os.makedirs(work_parent, exist_ok=True)
    work = tempfile.mkdtemp(prefix="run-", dir=work_parent)
    install = os.path.join(work, "install")
    home = os.path.join(work, "home")
    config_home = os.path.join(work, "config")
    data_home = os.path.join(work, "data")
    targets = os.path.join(work, "targets")
    for folder in (install, home, config_home, data_home, targets):
        os.makedirs(folder)
    shutil.copytree(os.path.join(staged, "Category"), os.path.join(install, "Category"))
    shutil.copytree(os.path.join(staged, "Help"), os.path.join(install, "Help"))
    print(f"e2e: work folder {work}")
    print(f"e2e: screenshots in {shots}")

    env = dict(os.environ)
    env.update(HOME=home, XDG_CONFIG_HOME=config_home, XDG_DATA_HOME=data_home,
               QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")

    relative_folders = read_category_list(music_list)
    top_folders = [folder for folder in relative_folders if os.sep not in folder]
    print(f"e2e: Music.txt has {len(relative_folders)} folders, {len(top_folders)} at the top")

    # A test run stopped from outside (ctest's time limit) still ends Brindle.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("e2e: stopped from outside"))

    # Bring the accessibility bus up before Brindle looks for it.
    pyatspi.Registry.getDesktop(0)

    brindle = Brindle(program, install, env, grab, shots)
    ok = False
    try:
        T.begin("Step 1: start Brindle in a fresh install folder")
        brindle.start()
        T.check(not os.path.exists(os.path.join(install, "undo.udo")), "no undo log at the start")
        T.check("enabled" not in states(brindle.button("Undo the last operation")),
                "the undo button is disabled at the start")
        # A screen reader hears names without trailing blanks, and separators
        # as separators that take no focus.
        T.check(brindle.button("Read help") is not None, "the help button is named 'Read help'")
        task_rows = cells(brindle.tasks())
        separators = [row_states for name, row_states in task_rows if name == "Separator"]
        T.check(len(separators) == 3 and not any("focusable" in row for row in separators),
                "the task panel reads its 3 separators as such, none focusable",
                str([(name, sorted(row)) for name, row in task_rows]))
        brindle.screenshot("01-started.png")

        T.begin("Step 2: choose 'music category' with the keyboard")
        choose_music(brindle, top_folders)
        brindle.screenshot("02-music-loaded.png")

        T.begin("Step 3: type a target location and press Create Now")
        first_target = os.path.join(targets, "First Music")
        type_target(brindle, first_target)
        brindle.screenshot("03-target-typed.png")
        create_now(brindle, first_target, relative_folders, install, "04-summary.png")
        brindle.screenshot("05-created.png")

        T.begin("Step 4: undo the creation")
        undo(brindle, first_target, relative_folders, install, data_home,
             "06-undo-question.png", "07-undo-done.png")
        brindle.screenshot("08-after-undo.png")

        T.begin("Step 5: create again, quit, start again and undo from the log")
        second_target = os.path.join(targets, "Second Music")
        type_target(brindle, second_target)
        brindle.screenshot("09-second-target-typed.png")
        create_now(brindle, second_target, relative_folders, install, "10-second-summary.png")
        brindle.screenshot("11-second-created.png")
        quit_with_exit(brindle)
        T.check(os.path.isfile(os.path.join(install, "undo.udo")),
                "the undo log outlives Brindle")
        brindle.start()
        undo_button = brindle.button("Undo the last operation")
        T.check(poll(lambda: "enabled" in states(undo_button), 10),
                "the undo button is enabled at the start, from the log")
        brindle.screenshot("12-restarted.png")
        undo(brindle, second_target, relative_folders, install, data_home,
             "13-second-undo-question.png", "14-second-undo-done.png")
        brindle.screenshot("15-after-second-undo.png")
        T.check(os.path.isdir(first_target) and not os.listdir(first_target),
                "the first target stays empty")
        quit_with_exit(brindle)
        ok = True
    except StepFailure as failure:
        if T.failed == 0:
            T.failed = 1
            print(f"  FAIL  {failure}")
    except (Exception, KeyboardInterrupt, SystemExit) as error:
        # A broken tool or bus, or a stop from outside: still a failure of the step.
        T.failed += 1
        print(f"  FAIL  {type(error).__name__}: {error}")
    finally:
        if not ok and brindle.running():
            brindle.save_picture("failure.png")
        brindle.kill()

    if ok:
        print(f"{T.passed} passed, 0 failed")
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
        return 0
    print(f"FAILED in {T.step}")
    print(f"e2e: the work folder is kept: {work}")
    print(f"{T.passed} passed, {T.failed} failed")
    return 1


if __name__ == "__main__":
    sys.exit(main())
