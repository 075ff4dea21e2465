#!/usr/bin/env python3
"""Starts the calculator as a user would, on a private Xvfb server, and drives
it with real X key and mouse events (XTest):

1. first start: type 1+2 and Enter; copy the output box into the input box
   through the clipboard (Ctrl+A, Ctrl+C, Ctrl+V) and close with Esc, so
   AutoSave.txt shows what the output box held; the settings file is written;
2. second start with edited settings: the window comes up at the stored bounds,
   and closing at once writes back the same text, font, colours and bounds;
3. third start: after Ctrl+T (stay on top, which re-creates the native
   window) a small program is typed (":" types " := ", "*" and "-" the
   calculator's own signs) and evaluated, and the screen is saved as a PNG when
   a path is given. Then a program whose row 2 names an unknown identifier is
   evaluated with the caret elsewhere; the next typed key lands on that name.

4. installed with cmake --install into a folder its user cannot write: the
   symbol map is found in share/sumtra (Ctrl+G turns a into alpha), and the
   settings and the input go to the user's configuration folder.

5. the on-screen keyboard: opened from the Tools menu, its buttons clicked
   with the mouse type into the input box and its Enter button evaluates; a
   shortcut assigned in the settings file hides it; its bounds are kept in
   the settings file. With a screenshot path, the keyboard beside the main
   window is saved as screenshot-keyboard.png in the same folder.

6. pickers and hotkeys: the variable picker, opened from the Tools menu,
   inserts a name with a mouse click while the keyboard steps aside; a key
   reassigned in the hotkeys editor works at once and after a restart. With a
   screenshot path, the picker is saved as screenshot-picker.png beside it.

7. with a window manager (openbox), so that windows have real frames: the
   main window and the keyboard come back at their stored outer bounds over
   several restarts, and a window stored above the screen opens with its
   title bar on it; the keypad's Enter evaluates and Alt+keypad Enter
   maximises; Font > Select... and OK changes nothing, also where the stored
   family is not installed; of two windows the one closed last leaves its
   input in AutoSave.txt. Without openbox this part is skipped.

8. paste: text with typographic look-alikes ("6\u00f72\u00b73", left in
   AutoSave.txt, so the calculator itself puts it on the clipboard with Ctrl+A
   and Ctrl+X) comes back from Ctrl+V in the calculator's own characters and
   evaluates; "x := 2" typed as written with the assignment aid on gives
   "x := 2" in the input box and "x = 2" in the output box.

usage: desktop_session.py BUILD_DIR SCREEN_GRAB [SCREENSHOT.png]
"""
import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

XK_NAMES = {' ': 'space', ':': 'colon', '=': 'equal', '/': 'slash', '(': 'parenleft', ')': 'parenright',
            '^': 'asciicircum', '+': 'plus', '*': 'asterisk', '-': 'minus', '.': 'period', ',': 'comma',
            ';': 'semicolon', '_': 'underscore'}


class X:
    """The few Xlib and XTest calls the session needs."""

    def __init__(self, display):
        self.lib = ctypes.CDLL('libX11.so.6')
        self.tst = ctypes.CDLL('libXtst.so.6')
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XStringToKeysym.restype = ctypes.c_ulong
        self.lib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.lib.XKeycodeToKeysym.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int]
        self.lib.XKeycodeToKeysym.restype = ctypes.c_ulong
        self.lib.XFlush.argtypes = [ctypes.c_void_p]
        self.lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        for f in ('XTestFakeKeyEvent', 'XTestFakeButtonEvent'):
            getattr(self.tst, f).argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.tst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                  ctypes.c_ulong]
        self.dpy = self.lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError('cannot open display ' + display)

    def code(self, name):
        return self.lib.XKeysymToKeycode(self.dpy, self.lib.XStringToKeysym(name.encode()))

    def _key(self, code, down):
        self.tst.XTestFakeKeyEvent(self.dpy, code, 1 if down else 0, 0)
        self.lib.XSync(self.dpy, 0)
        time.sleep(0.02)

    def press(self, name, *modifiers):
        mods = [self.code(m) for m in modifiers]
        for m in mods:
            self._key(m, True)
        self._key(self.code(name), True)
        self._key(self.code(name), False)
        for m in reversed(mods):
            self._key(m, False)
        time.sleep(0.05)

    def type(self, text):
        for ch in text:
            name = XK_NAMES.get(ch, ch)
            code = self.code(name)
            shifted = self.lib.XKeycodeToKeysym(self.dpy, code, 0) != self.lib.XStringToKeysym(name.encode())
            self.press(name, *(['Shift_L'] if shifted else []))

    def click(self, x, y, count=1):
        self.tst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        for _ in range(count):
            self.tst.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
            self.tst.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
            self.lib.XSync(self.dpy, 0)
            time.sleep(0.05)
        time.sleep(0.2)


def fail(message):
    print('FAIL: ' + message)
    sys.exit(1)


def close_with_escape(x, proc):
    x.press('Escape')
    try:
        proc.wait(timeout=15)
    except subprocess.TimeoutExpired:
        proc.kill()
        fail('Esc did not close the window')


def window_geometry(display, deadline=20):
    end = time.time() + deadline
    while time.time() < end:
        out = subprocess.run(['xwininfo', '-display', display, '-name', 'Sumtra'], capture_output=True, text=True)
        if out.returncode == 0 and 'IsViewable' in out.stdout:
            get = lambda key: int(re.search(key + r':\s+(-?\d+)', out.stdout).group(1))
            return (get('Absolute upper-left X'), get('Absolute upper-left Y'), get('Width'), get('Height'))
        time.sleep(0.2)
    fail('the calculator window did not appear')


def utf16_file(path):
    with open(path, 'rb') as f:
        data = f.read()
    if not data.startswith(b'\xff\xfe'):
        fail(path + ' has no UTF-16LE byte-order mark: %r' % data[:20])
    return data[2:].decode('utf-16-le')


def ini_values(path):
    values = {}
    section = ''
    with open(path, encoding='utf-8') as f:
        for line in f.read().splitlines():
            if line.startswith('['):
                section = line.strip('[]')
            elif '=' in line:
                key, value = line.split('=', 1)
                values[section + '/' + key] = value
    return values


def set_ini(path, changes):
    with open(path, encoding='utf-8') as f:
        lines = f.read().splitlines()
    for i, line in enumerate(lines):
        key = line.split('=', 1)[0]
        if key in changes:
            lines[i] = key + '=' + changes[key]
    with open(path, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')


def copy_output_to_input(x, left, top, width, height):
    """Copies the output box into the input box through the clipboard, so that
    AutoSave.txt shows what the output box held."""
    x.click(left + width // 2, top + height - 60)  # the output box fills the lower half
    x.press('a', 'Control_L')
    x.press('c', 'Control_L')
    x.click(left + width // 2, top + height // 3)
    x.press('a', 'Control_L')
    x.press('v', 'Control_L')


def append_output_to_input(x, left, top, width, height):
    """Copies the output box to a new last line of the input box, so that
    AutoSave.txt shows the input followed by what the output box held."""
    x.click(left + width // 2, top + height - 60)
    x.press('a', 'Control_L')
    x.press('c', 'Control_L')
    x.click(left + width // 2, top + height // 3)
    x.press('End', 'Control_L')
    x.press('Return', 'Shift_L')
    x.press('v', 'Control_L')


def write_utf16_file(path, text):
    with open(path, 'wb') as f:
        f.write(b'\xff\xfe' + text.encode('utf-16-le'))


def pasted_look_alikes(x, start, close, autosave):
    write_utf16_file(autosave, '6\u00f72\u00b73')
    proc, (left, top, width, height) = start()
    for key in 'axv':
        x.press(key, 'Control_L')
    x.press('Return')
    time.sleep(0.5)
    append_output_to_input(x, left, top, width, height)
    close(proc)
    text = utf16_file(autosave)
    if text != '6/2\u22193\r\n6/2\u22193 = 9\r\n':
        fail('after pasting "6\u00f72\u00b73" and Enter, input and output were %r, expected '
             '"6/2\u22193" and "6/2\u22193 = 9"' % text)
    print('paste: "6\u00f72\u00b73" went in as "6/2\u22193" and Enter gave "6/2\u22193 = 9"')


def typed_assignment(x, start, close, autosave):
    proc, (left, top, width, height) = start()
    x.press('a', 'Control_L')
    x.type('x := 2')
    x.press('Return')
    time.sleep(0.5)
    append_output_to_input(x, left, top, width, height)
    close(proc)
    text = utf16_file(autosave)
    if text != 'x := 2\r\nx = 2\r\n':
        fail('after typing "x := 2" and Enter, input and output were %r, expected "x := 2" and "x = 2"' % text)
    print('assignment: "x := 2" typed as written stayed "x := 2" and Enter gave "x = 2"')


def dark_colours_picture(x, start, close, ini, grab, env, screenshot):
    """The same program in light grey on a dark background, beside the first picture."""
    set_ini(ini, {'FontColor': str(224 + 224 * 256 + 224 * 65536), 'BackColor': str(40 + 34 * 256 + 30 * 65536)})
    proc, (left, top, width, height) = start()
    x.press('Return')  # the whole text is selected at start: it runs as a selection
    x.press('End', 'Control_L')
    x.press('Left')
    x.press('Left')
    x.press('Left')  # beside the bracket, whose partner is marked
    time.sleep(0.8)
    shot = screenshot.replace('.png', '-dark.png')
    subprocess.run([grab, shot, str(left), str(top), str(width), str(height)], env=env, check=True)
    print('screenshot saved to ' + shot)
    close(proc)
    set_ini(ini, {'FontColor': '128', 'BackColor': '16777215'})


def completed_name(x, start, close, autosave, grab=None, env=None, screenshot=None):
    proc, (left, top, width, height) = start()
    x.press('a', 'Control_L')
    x.type('total_sum := 5')
    x.press('Return')
    time.sleep(0.5)
    x.press('a', 'Control_L')
    if screenshot:  # the list as it opens after two letters of a name
        x.type('total_sum*si')
        time.sleep(0.8)
        shot = screenshot.replace('.png', '-completion.png')
        subprocess.run([grab, shot, str(left), str(top), str(width), str(height)], env=env, check=True)
        print('screenshot saved to ' + shot)
        x.press('Escape')
        x.press('a', 'Control_L')
    x.type('tot')
    x.press('Tab')
    x.press('Return')
    time.sleep(0.5)
    append_output_to_input(x, left, top, width, height)
    close(proc)
    text = utf16_file(autosave)
    if text != 'total_sum\r\ntotal_sum = 5\r\n':
        fail('after "tot", Tab and Enter, input and output were %r, expected "total_sum" and "total_sum = 5"'
             % text)
    print('completion: "tot" and Tab gave "total_sum", and Enter then evaluated it')


def live_results(x, start, close, autosave):
    proc, (left, top, width, height) = start()
    x.press('a', 'Control_L')
    x.press('l', 'Control_L')  # live results on
    x.type('6*7')
    time.sleep(1.0)  # no Enter: the pause after the last key runs it
    x.press('l', 'Control_L')  # off again, before the output is carried over
    append_output_to_input(x, left, top, width, height)
    close(proc)
    text = utf16_file(autosave)
    if text != '6\u22197\r\n6\u22197 = 42\r\n':
        fail('with live results on, "6*7" and a pause left input and output %r, expected "6\u22197" and '
             '"6\u22197 = 42"' % text)
    print('live results: "6*7" and a pause, no Enter, gave "6\u22197 = 42"')


def calculation_sheet(x, start, close, autosave, work, grab=None, env=None, screenshot=None):
    """Linked results, Copy result and Export, in the 640 x 500 window with the
    16-point font of the earlier steps: output line k is at y = 297 + 25 k."""
    proc, (left, top, width, height) = start()
    x.press('a', 'Control_L')
    for i, row in enumerate(['a:6', 'a*7', 'a+1']):
        if i:
            x.press('Return', 'Shift_L')
        x.type(row)
    x.press('Return')
    time.sleep(0.5)
    if screenshot:  # the caret in the second statement marks its output line
        x.press('Up')
        time.sleep(0.3)
        shot = screenshot.replace('.png', '-linked.png')
        subprocess.run([grab, shot, str(left), str(top), str(width), str(height)], env=env, check=True)
        print('screenshot saved to ' + shot)
    x.click(left + 60, top + 297 + 25, count=2)  # "a∙7 = 42": its statement is selected
    x.type('0')
    x.press('Return')
    time.sleep(0.5)
    x.press('c', 'Control_L', 'Shift_L')  # the last value, 7
    x.press('End', 'Control_L')
    x.press('Return', 'Shift_L')
    x.press('v', 'Control_L')
    sheet = os.path.join(work, 'sheet.csv')
    x.press('e', 'Control_L')
    time.sleep(1.0)
    x.type(sheet)
    x.press('Return')
    time.sleep(0.8)
    x.click(left + width // 2, top + height // 3)  # with no window manager, the focus stays with the dialog gone
    if screenshot:  # the same sheet as a page
        page = os.path.join(work, 'sheet.html')
        x.press('e', 'Control_L')
        time.sleep(1.0)
        x.type(page)
        x.press('Return')
        time.sleep(0.8)
        x.click(left + width // 2, top + height // 3)
        shot = screenshot.replace('.png', '-export.png')
        subprocess.run([grab, '--html', page, shot, '560'], env=env, check=True)
        print('screenshot saved to ' + shot)
    close(proc)
    text = utf16_file(autosave)
    if text != 'a := 6\r\n0\r\na+1\r\n7\r\n':
        fail('double click, Ctrl+Shift+C and Ctrl+V left the input %r, expected "a := 6", "0", "a+1", "7"' % text)
    if not os.path.exists(sheet):
        fail('Ctrl+E and a file name wrote no ' + sheet)
    with open(sheet, encoding='utf-8') as f:
        rows = f.read().splitlines()
    if rows[3:] != ['a := 6,6,', '0,0,', 'a+1,7,']:
        fail('the exported sheet holds %r' % rows)
    print('sheet: a double click on "a\u22197 = 42" selected its statement, Ctrl+Shift+C copied 7, '
          'Ctrl+E exported three rows')


def named_window(display, name, viewable=True, deadline=10):
    """The geometry of the window called name once it is (or is no longer) viewable."""
    end = time.time() + deadline
    while time.time() < end:
        out = subprocess.run(['xwininfo', '-display', display, '-name', name], capture_output=True, text=True)
        shown = out.returncode == 0 and 'IsViewable' in out.stdout
        if shown == viewable:
            if not shown:
                return None
            get = lambda key: int(re.search(key + r':\s+(-?\d+)', out.stdout).group(1))
            return (get('Absolute upper-left X'), get('Absolute upper-left Y'), get('Width'), get('Height'))
        time.sleep(0.2)
    fail('the %s window is %s' % (name, 'not shown' if viewable else 'still shown'))


# The keyboard's buttons by caption, as (row, column) of its 4 x 6 grid.
KEYBOARD = {'C': (0, 0), 'left': (0, 1), 'right': (0, 2), 'back': (0, 3), '7': (1, 0), '8': (1, 1),
            '9': (1, 2), '+': (1, 3), '4': (2, 0), '5': (2, 1), '6': (2, 2), '-': (2, 3), '1': (3, 0),
            '2': (3, 1), '3': (3, 2), '*': (3, 3), '0': (4, 0), '.': (4, 1), 'E': (4, 2), '/': (4, 3),
            '(': (5, 0), ')': (5, 1), '^': (5, 2), 'enter': (5, 3)}


def keyboard_session(x, display, start, close, ini, autosave, grab, env, shot):
    # The main window on the left, the keyboard's stored bounds on its right,
    # and Ctrl+K for Tools > Keyboard (the Ctrl bit 0x4000 plus the key 'K').
    set_ini(ini, {'FormLeft': '10', 'FormTop': '60', 'FormRight': '570', 'FormBottom': '520', 'FontSize': '16'})
    with open(ini, 'a', encoding='utf-8') as f:
        f.write('[Keyboard]\nFormLeft=590\nFormTop=60\nFormRight=950\nFormBottom=400\n'
                '[Shortcuts]\nToolsKeyboard=%d\n' % (0x4000 + ord('K')))
    proc, (left, top, width, height) = start()
    # Tools is the sixth menu of the menu bar: Alt, five times right, down, and
    # Enter on its first entry.
    x.press('Alt_L')
    for _ in range(5):
        x.press('Right')
    x.press('Down')
    x.press('Return')
    kx, ky, kw, kh = named_window(display, 'Keyboard')
    if (kx, ky, kw, kh) != (590, 60, 360, 340):
        fail('the keyboard opened at %r, expected its stored bounds (590, 60, 360, 340)' % ((kx, ky, kw, kh),))

    def click(name):
        row, column = KEYBOARD[name]
        x.click(kx + (2 * column + 1) * kw // 8, ky + (2 * row + 1) * kh // 12)

    # Typed, deleted, and the opening bracket put in last at the start: seven
    # steps left from the end of six characters stop at the start.
    for name in ['C', '9', 'back', '1', '+', '2', ')', '*', '7'] + ['left'] * 7 + ['(', 'enter']:
        click(name)
    time.sleep(0.5)
    if shot:
        subprocess.run([grab, shot, str(left), str(top), str(kx + kw - left), str(max(top + height, ky + kh) - top)],
                       env=env, check=True)
        print('keyboard screenshot saved to ' + shot)
    x.press('k', 'Control_L')
    named_window(display, 'Keyboard', viewable=False)
    # The output box into the input box, as in the first step, so the file shows it.
    copy_output_to_input(x, left, top, width, height)
    close(proc)
    text = utf16_file(autosave)
    if text != '(1+2)\u22197 = 21\r\n':
        fail('the output box held %r, expected "(1+2)\u22197 = 21"' % text)
    values = ini_values(ini)
    bounds = [values.get('Keyboard/Form' + k) for k in ('Left', 'Top', 'Right', 'Bottom')]
    if bounds != ['590', '60', '950', '400']:
        fail('the keyboard bounds were written as %r' % bounds)
    print('keyboard: opened from Tools, buttons typed and Enter evaluated %r, Ctrl+K hid it, bounds kept' %
          text.strip())


def open_tools_entry(x, up):
    """Opens the Tools menu with the keyboard (Alt+P, then right to Tools) and
    runs its entry reached by pressing Up that many times from the first."""
    x.press('p', 'Alt_L')
    time.sleep(0.3)
    for _ in range(5):
        x.press('Right')
    for _ in range(up):
        x.press('Up')
    x.press('Return')
    time.sleep(0.8)


def pickers_and_hotkeys(x, display, start, close, app_dir, grab, env, screenshot):
    autosave = os.path.join(app_dir, 'AutoSave.txt')
    ini = os.path.join(app_dir, 'sumtra.ini')
    # A variable of our own that sorts second, after the constant %.
    with open(os.path.join(app_dir, 'InitDefs.txt'), 'wb') as f:
        f.write(b'\xff\xfe' + 'aa := 7\r\n'.encode('utf-16-le'))

    # The variable picker from Tools: a click on the second button inserts aa.
    proc, (main_left, main_top, main_width, main_height) = start()
    back_to_input = lambda: x.click(main_left + main_width // 2, main_top + main_height // 3)
    x.press('a', 'Control_L')
    x.type('2+')
    x.press('k', 'Control_L')  # the keyboard, by the key the keyboard step gave it
    named_window(display, 'Keyboard')
    open_tools_entry(x, 4)  # Insert variable..., second of five
    left, top, width, height = named_window(display, 'Insert variable')
    named_window(display, 'Keyboard', viewable=False, deadline=3)  # out of the picker's way
    if screenshot:
        path = os.path.join(os.path.dirname(os.path.abspath(screenshot)), 'screenshot-picker.png')
        subprocess.run([grab, path, str(left), str(top), str(width), str(height)], env=env, check=True)
        print('picker screenshot saved to ' + path)
    x.click(left + 5 + 142 + 71, top + 16)  # row 1, column 2: buttons 140 wide with 1-pixel margins
    named_window(display, 'Insert variable', viewable=False, deadline=3)
    named_window(display, 'Keyboard', deadline=3)  # and back
    back_to_input()  # without a window manager nobody gives the focus back
    x.press('Return')
    time.sleep(0.5)
    close(proc)
    if utf16_file(autosave) != '2+aa\r\n':
        fail('the picker left the input as %r, expected "2+aa"' % utf16_file(autosave))
    print('pickers: Tools > Insert variable... and a click on aa gave "2+aa"; the keyboard stepped aside')

    # The hotkeys editor from Tools, driven by the keyboard: Font, FontItalic,
    # Ctrl+J, Assign. The key works at once...
    proc, _ = start()
    open_tools_entry(x, 1)  # Customize hotkeys..., the last entry
    named_window(display, 'Customize hotkeys')
    x.type('fo')          # categories: Font
    x.press('Tab')
    x.type('fonti')       # commands: FontItalic
    x.press('Tab')
    x.press('j', 'Control_L')  # into the shortcut field
    x.press('Tab')
    x.press('space')      # Assign
    x.press('Escape')     # Close
    time.sleep(0.5)
    named_window(display, 'Customize hotkeys', viewable=False, deadline=3)
    back_to_input()
    x.press('j', 'Control_L')
    close(proc)
    values = ini_values(ini)
    if values.get('Shortcuts/FontItalic') != '16458' or values.get('Shortcuts/ProgramHelp') != '112':
        fail('the shortcuts were saved as %r' % {k: v for k, v in values.items() if k.startswith('Shortcuts/')})
    if int(values.get('Settings/FontStyle', '0')) & 2 == 0:
        fail('Ctrl+J did not make the font italic right after the assignment')
    # ... and after a restart.
    proc, _ = start()
    x.press('j', 'Control_L')
    close(proc)
    values = ini_values(ini)
    if int(values.get('Settings/FontStyle', '0')) & 2 != 0 or values.get('Shortcuts/FontItalic') != '16458':
        fail('after a restart Ctrl+J did not toggle italic off (FontStyle %r)' % values.get('Settings/FontStyle'))
    os.remove(os.path.join(app_dir, 'InitDefs.txt'))
    print('hotkeys: Ctrl+J assigned to FontItalic in the editor works at once and after a restart')


def window_ids(display, name='Sumtra'):
    """The ids of the viewable top-level windows called name, oldest first."""
    out = subprocess.run(['xwininfo', '-display', display, '-root', '-tree'], capture_output=True, text=True)
    ids = []
    for line in out.stdout.splitlines():
        m = re.match(r'\s*(0x[0-9a-f]+) "%s":' % re.escape(name), line)
        if m:
            info = subprocess.run(['xwininfo', '-display', display, '-id', m.group(1)], capture_output=True,
                                  text=True).stdout
            if 'IsViewable' in info:
                ids.append(m.group(1))
    return sorted(ids, key=lambda i: int(i, 16))


def outer_geometry(display, wid):
    """The window's outer bounds, frame included, as (left, top, width, height)."""
    info = subprocess.run(['xwininfo', '-display', display, '-id', wid], capture_output=True, text=True).stdout
    get = lambda key: int(re.search(key + r':\s+(-?\d+)', info).group(1))
    left, top, width, height = (get('Absolute upper-left X'), get('Absolute upper-left Y'), get('Width'),
                                get('Height'))
    prop = subprocess.run(['xprop', '-display', display, '-id', wid, '_NET_FRAME_EXTENTS'], capture_output=True,
                          text=True).stdout
    m = re.search(r'=\s*(\d+), (\d+), (\d+), (\d+)', prop)
    fl, fr, ft, fb = (int(v) for v in m.groups()) if m else (0, 0, 0, 0)
    return (left - fl, top - ft, width + fl + fr, height + ft + fb)


def wait_for_windows(display, count, name='Sumtra', deadline=20):
    end = time.time() + deadline
    while time.time() < end:
        ids = window_ids(display, name)
        if len(ids) == count:
            time.sleep(0.8)  # framed and placed
            return ids
        time.sleep(0.2)
    fail('expected %d %s windows, found %d' % (count, name, len(window_ids(display, name))))


def framed_session(bin_dir, work):
    """Part 7: the same calculator under openbox, on a display of its own."""
    if not shutil.which('openbox') or not shutil.which('xprop'):
        print('framed session skipped: openbox or xprop is missing')
        return
    app_dir = os.path.join(work, 'framed')
    os.makedirs(app_dir)
    for name in ('sumtra', 'SymbolMap.txt'):
        shutil.copy2(os.path.join(bin_dir, name), app_dir)
    exe = os.path.join(app_dir, 'sumtra')
    autosave = os.path.join(app_dir, 'AutoSave.txt')
    ini = os.path.join(app_dir, 'sumtra.ini')
    display_number = 190 + os.getpid() % 100
    display = ':%d' % display_number
    xvfb = subprocess.Popen(['Xvfb', display, '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM='xcb', HOME=work,
               XDG_CONFIG_HOME=os.path.join(work, 'framed-config'),
               XDG_RUNTIME_DIR=os.path.join(work, 'framed-runtime'))
    os.makedirs(env['XDG_RUNTIME_DIR'], mode=0o700)
    env.pop('QT_QPA_PLATFORMTHEME', None)
    wm = None
    try:
        for _ in range(100):
            if os.path.exists('/tmp/.X11-unix/X%d' % display_number):
                break
            time.sleep(0.1)
        wm = subprocess.Popen(['openbox', '--sm-disable'], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        time.sleep(1.0)
        x = X(display)

        def start(count=1):
            proc = subprocess.Popen([exe], env=env)
            wid = wait_for_windows(display, count)[-1]
            left, top, width, height = outer_geometry(display, wid)
            x.click(left + width // 2, top + height // 3)  # into the input box
            return proc, wid

        def close(proc):
            close_with_escape(x, proc)

        def stored(section='Settings'):
            values = ini_values(ini)
            return tuple(int(values[section + '/Form' + k]) for k in ('Left', 'Top', 'Right', 'Bottom'))

        # Fault 1: outer bounds over restarts, main window and keyboard (Ctrl+K).
        with open(ini, 'w', encoding='utf-8') as f:
            f.write('[Settings]\nFormLeft=100\nFormTop=80\nFormRight=740\nFormBottom=580\n'
                    '[Keyboard]\nFormLeft=600\nFormTop=100\nFormRight=960\nFormBottom=440\n'
                    '[Shortcuts]\nToolsKeyboard=%d\n' % (0x4000 + ord('K')))
        for run in range(1, 4):
            proc, wid = start()
            if outer_geometry(display, wid) != (100, 80, 640, 500):
                fail('start %d: window at %r, expected (100, 80, 640, 500) with its frame' %
                     (run, outer_geometry(display, wid)))
            x.press('k', 'Control_L')
            keyboard = wait_for_windows(display, 1, 'Keyboard')[0]
            if outer_geometry(display, keyboard) != (600, 100, 360, 340):
                fail('start %d: keyboard at %r, expected (600, 100, 360, 340)' %
                     (run, outer_geometry(display, keyboard)))
            close(proc)
            if stored() != (100, 80, 740, 580) or stored('Keyboard') != (600, 100, 960, 440):
                fail('start %d: bounds written back as %r and %r' % (run, stored(), stored('Keyboard')))
        set_ini(ini, {'FormTop': '-30', 'FormBottom': '470'})
        for run in range(1, 3):
            proc, wid = start()
            if outer_geometry(display, wid) != (100, 0, 640, 500):
                fail('stored above the screen, start %d: window at %r' % (run, outer_geometry(display, wid)))
            close(proc)
            if stored() != (100, 0, 740, 500):
                fail('stored above the screen, start %d: written back as %r' % (run, stored()))
        print('framed: main window and keyboard keep their outer bounds over restarts; '
              'the title bar opens on the screen')

        # Fault 2: the keypad's Enter evaluates, Alt+keypad Enter maximises.
        proc, wid = start()
        x.press('a', 'Control_L')
        x.type('1+2')
        x.press('KP_Enter')
        time.sleep(0.5)
        left, top, width, height = outer_geometry(display, wid)
        copy_output_to_input(x, left, top, width, height)
        x.press('KP_Enter', 'Alt_L')
        time.sleep(0.8)
        state = subprocess.run(['xprop', '-display', display, '-id', wid, '_NET_WM_STATE'], capture_output=True,
                               text=True).stdout
        if 'MAXIMIZED' not in state:
            fail('Alt+keypad Enter did not maximise: %s' % state.strip())
        x.press('KP_Enter', 'Alt_L')
        time.sleep(0.5)
        close(proc)
        if utf16_file(autosave) != '1+2 = 3\r\n':
            fail('after keypad Enter the output box held %r, expected "1+2 = 3"' % utf16_file(autosave))
        print('framed: keypad Enter evaluates, Alt+keypad Enter maximises')

        # Fault 3: Font > Select... and OK (the font menu is the fourth).
        before = ini_values(ini)
        proc, wid = start()
        x.press('n', 'Alt_L')
        time.sleep(0.3)
        x.press('Return')
        wait_for_windows(display, 1, 'Select Font')
        x.press('Return')
        time.sleep(0.5)
        close(proc)
        after = ini_values(ini)
        for key in ('FontName', 'FontSize', 'FontStyle', 'FontColor'):
            if after.get('Settings/' + key) != before.get('Settings/' + key):
                fail('the font dialog changed %s from %r to %r' % (key, before.get('Settings/' + key),
                                                                  after.get('Settings/' + key)))
        print('framed: the font dialog and OK keep %s' % after.get('Settings/FontName'))

        # Fault 4: two windows; the first writes, the second writes, the first closes last.
        first, first_id = start()
        x.press('a', 'Control_L')
        x.type('11')
        x.press('Return')
        second, second_id = start(2)
        x.press('a', 'Control_L')
        x.type('22')
        x.press('Return')
        close(second)
        wait_for_windows(display, 1)
        left, top, width, height = outer_geometry(display, first_id)
        x.click(left + width // 2, top + height // 3)
        close(first)
        if utf16_file(autosave) != '11\r\n':
            fail('the window closed last left %r, expected its "11"' % utf16_file(autosave))
        print('framed: of two windows the one closed last leaves its input')
    finally:
        if wm:
            wm.terminate()
            wm.wait()
        xvfb.terminate()
        xvfb.wait()


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__)
        return 2
    build_dir, grab = sys.argv[1], sys.argv[2]
    bin_dir = os.path.join(build_dir, 'bin')
    screenshot = sys.argv[3] if len(sys.argv) == 4 else None
    work = tempfile.mkdtemp(prefix='sumtra-session-')
    os.chmod(work, 0o755)
    app_dir = os.path.join(work, 'app')
    os.makedirs(app_dir)
    # The calculator keeps its files next to the executable: give it a folder of its own.
    shutil.copy2(os.path.join(bin_dir, 'sumtra'), app_dir)
    shutil.copy2(os.path.join(bin_dir, 'SymbolMap.txt'), app_dir)
    shutil.copytree(os.path.join(bin_dir, 'Help'), os.path.join(app_dir, 'Help'))
    exe = os.path.join(app_dir, 'sumtra')
    autosave = os.path.join(app_dir, 'AutoSave.txt')
    ini = os.path.join(app_dir, 'sumtra.ini')

    display_number = 90 + os.getpid() % 100
    display = ':%d' % display_number
    xvfb = subprocess.Popen(['Xvfb', display, '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM='xcb', HOME=work,
               XDG_CONFIG_HOME=os.path.join(work, 'config'), XDG_RUNTIME_DIR=os.path.join(work, 'runtime'))
    os.makedirs(env['XDG_RUNTIME_DIR'], mode=0o700)
    env.pop('QT_QPA_PLATFORMTHEME', None)
    try:
        for _ in range(100):
            if os.path.exists('/tmp/.X11-unix/X%d' % display_number):
                break
            time.sleep(0.1)
        x = X(display)

        def start(program=exe, environment=env, user=None):
            proc = subprocess.Popen([program], env=environment, user=user)
            geometry = window_geometry(display)
            time.sleep(1.0)  # let it take the focus
            left, top, width, height = geometry
            x.click(left + width // 2, top + height // 2)  # a click in the input box, as a user would
            return proc, geometry

        def close(proc):
            close_with_escape(x, proc)

        # 1. Type, evaluate, and carry the output into the input box through the clipboard.
        proc, (left, top, width, height) = start()
        x.press('a', 'Control_L')
        x.type('1+2')
        x.press('Return')
        time.sleep(0.5)
        copy_output_to_input(x, left, top, width, height)
        close(proc)
        text = utf16_file(autosave)
        if text != '1+2 = 3\r\n':
            fail('the output box held %r, expected "1+2 = 3"' % text)
        print('first start: 1+2 and Enter gave "1+2 = 3"; AutoSave.txt is UTF-16LE with a byte-order mark')
        if not os.path.exists(ini):
            fail('no settings file next to the executable')

        # 2. Edited settings come back, and are written back unchanged.
        changes = {'FontSize': '14', 'FontColor': '8388608', 'BackColor': '14745599', 'FontStyle': '2',
                   'FormLeft': '100', 'FormTop': '80', 'FormRight': '740', 'FormBottom': '580'}
        set_ini(ini, changes)
        proc, geometry = start()
        if geometry != (100, 80, 640, 500):
            fail('window at %r, expected (100, 80, 640, 500)' % (geometry,))
        close(proc)
        values = ini_values(ini)
        for key, value in changes.items():
            if values.get('Settings/' + key) != value:
                fail('%s came back as %r, expected %r' % (key, values.get('Settings/' + key), value))
        if utf16_file(autosave) != '1+2 = 3\r\n':
            fail('the input text did not come back')
        print('second start: bounds, font, colours and input text restored')

        # 3. A small program for the picture.
        set_ini(ini, {'FontSize': '16', 'FontColor': '128', 'BackColor': '16777215', 'FontStyle': '1'})
        proc, (left, top, width, height) = start()
        # Stay on top re-creates the native window; typing must still reach the input box.
        x.press('t', 'Control_L')
        time.sleep(0.5)
        x.press('a', 'Control_L')
        for line in ['x:2 // two', 'f(t):t^2 + 1', 'f(x)*3', '2*x-3', 'sin(pi/4)^2']:
            x.type(line)
            x.press('Return', 'Shift_L')
        x.press('BackSpace')
        x.press('Return')
        time.sleep(0.8)
        if screenshot:
            subprocess.run([grab, screenshot, str(left), str(top), str(width), str(height)], env=env, check=True)
            print('screenshot saved to ' + screenshot)
        close(proc)
        program = utf16_file(autosave)
        if program != 'x := 2 // two\r\nf(t) := t^2 + 1\r\nf(x)\u22193\r\n2\u2219x\u20133\r\nsin(pi/4)^2\r\n':
            fail('the typed program was saved as %r' % program)
        print('third start: a program of five lines typed with Shift+Enter and saved')
        if screenshot:
            dark_colours_picture(x, start, close, ini, grab, env, screenshot)

        # 8. Pasted look-alikes and a typed assignment, while the files are still this copy's.
        pasted_look_alikes(x, start, close, autosave)
        typed_assignment(x, start, close, autosave)
        completed_name(x, start, close, autosave, grab, env, screenshot)
        live_results(x, start, close, autosave)
        calculation_sheet(x, start, close, autosave, work, grab, env, screenshot)

        # An unknown name in row 2: Enter puts the caret on it, so the next key lands there.
        proc, _ = start()
        x.press('a', 'Control_L')
        x.type('1+2')
        x.press('Return', 'Shift_L')
        x.type('1 + bb')
        x.press('Home')  # away from where the error is
        x.press('Up')
        x.press('Return')
        time.sleep(0.5)
        x.type('x')
        close(proc)
        program = utf16_file(autosave)
        if program != '1+2\r\n1 + xbb\r\n':
            fail('after Enter on an unknown name the typed x went to %r, expected "1 + xbb" in row 2' % program)
        print('an error in row 2 took the caret to its name')

        # 4. Installed where the user cannot write.
        prefix = os.path.join(work, 'prefix')
        subprocess.run([os.environ.get('SUMTRA_CMAKE', 'cmake'), '--install', build_dir, '--prefix', prefix], check=True, stdout=subprocess.DEVNULL)
        for name in ('bin/sumtra', 'bin/sumtra-cli', 'share/sumtra/SymbolMap.txt', 'share/sumtra/Help/Sumtra.htm',
                     'share/applications/org.sumtra.Sumtra.desktop',
                     'share/icons/hicolor/scalable/apps/org.sumtra.Sumtra.svg', 'share/metainfo/org.sumtra.Sumtra.metainfo.xml'):
            if not os.path.isfile(os.path.join(prefix, name)):
                fail('cmake --install did not install ' + name)
        user_home = os.path.join(work, 'user')
        user_env = dict(env, HOME=user_home, XDG_CONFIG_HOME=os.path.join(user_home, 'config'),
                        XDG_RUNTIME_DIR=os.path.join(user_home, 'runtime'))
        os.makedirs(user_env['XDG_RUNTIME_DIR'], mode=0o700)
        user = None
        if os.getuid() == 0:  # root writes anywhere: run as nobody instead
            user = 'nobody'
            for root, dirs, files in os.walk(user_home):
                for entry in [root] + [os.path.join(root, d) for d in dirs]:
                    shutil.chown(entry, user)
        os.chmod(os.path.join(prefix, 'bin'), 0o555)
        proc, _ = start(os.path.join(prefix, 'bin', 'sumtra'), user_env, user)
        x.press('a', 'Control_L')
        x.type('a')
        x.press('g', 'Control_L')
        close(proc)
        state = os.path.join(user_env['XDG_CONFIG_HOME'], 'Sumtra')
        if utf16_file(os.path.join(state, 'AutoSave.txt')) != '\u03b1\r\n':
            fail('Ctrl+G did not toggle with the installed symbol map')
        if not os.path.isfile(os.path.join(state, 'sumtra.ini')):
            fail('no settings file in ' + state)
        if sorted(os.listdir(os.path.join(prefix, 'bin'))) != ['sumtra', 'sumtra-cli']:
            fail('files were written next to the installed executable')
        print('installed read-only: symbol map found in share/sumtra, settings and input kept in ' +
              os.path.relpath(state, work))

        # 5. The on-screen keyboard.
        keyboard_shot = os.path.join(os.path.dirname(screenshot), 'screenshot-keyboard.png') if screenshot else None
        keyboard_session(x, display, start, close, ini, autosave, grab, env, keyboard_shot)

        # 6. Pickers and the hotkeys editor.
        pickers_and_hotkeys(x, display, start, close, app_dir, grab, env, screenshot)

        # 7. With a window manager.
        framed_session(bin_dir, work)
        return 0
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
