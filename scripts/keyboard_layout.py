#!/usr/bin/env python3
"""Draws the keyboard of resources/skin/XML/DeviceXml/keyboarddevice.xml.

Rewrites the two key layers between the "key layer" and "light layer" markers of the page: one
DeviceKeyButton per host key position (0-125) at the place the key has on a full-size keyboard,
as "key_" n in the key layer and "light_" n in the light layer. Run it after changing the
geometry below; the page itself is kept in the repository.
"""
import pathlib
import re

UNIT = 28  # one key unit in pixels
GAP = 4  # between neighbouring keys
MARGIN = 8  # room around the keys to start a selection band
MACRO_X = 0.0
MAIN_X = 1.5
NAV_X = 17.0
PAD_X = 20.5
ROWS = [0.0, 1.5, 2.5, 3.5, 4.5, 5.5]

# position: (caption, x, row, width, height); x in units from the left edge.
KEYS = {}


def row(y, x, keys):
    for position, caption, width in keys:
        KEYS[position] = (caption, x, y, width, 1.0)
        x += width


def key(position, caption, x, y, width=1.0, height=1.0):
    KEYS[position] = (caption, x, y, width, height)


# Function row.
key(0, "Esc", MAIN_X, ROWS[0])
for index, x in enumerate([2, 3, 4, 5, 6.5, 7.5, 8.5, 9.5, 11, 12, 13, 14]):
    key(1 + index, "F%d" % (index + 1), MAIN_X + x, ROWS[0])
row(ROWS[0], NAV_X, [(13, "Prt", 1), (14, "Scr", 1), (15, "Pau", 1)])
key(16, "GM", PAD_X, ROWS[0])
key(17, "", PAD_X + 1, ROWS[0])
# Number row, with the Yen key of Japanese keyboards before BackSpace.
row(ROWS[1], MAIN_X, [(21, "`", 1)] + [(22 + i, "1234567890"[i], 1) for i in range(10)] +
    [(32, "-", 1), (33, "=", 1), (101, "K14", 1), (34, "Bksp", 1)])
row(ROWS[1], NAV_X, [(35, "Ins", 1), (36, "Hm", 1), (37, "PgU", 1)])
row(ROWS[1], PAD_X, [(38, "Num", 1), (39, "/", 1), (40, "*", 1), (41, "-", 1)])
# Upper letter row.
row(ROWS[2], MAIN_X, [(42, "Tab", 1.5)] + [(43 + i, c, 1) for i, c in enumerate("QWERTYUIOP")] +
    [(53, "[", 1), (54, "]", 1), (55, "\\", 1.5)])
row(ROWS[2], NAV_X, [(56, "Del", 1), (57, "End", 1), (58, "PgD", 1)])
row(ROWS[2], PAD_X, [(59, "7", 1), (60, "8", 1), (61, "9", 1)])
key(119, "+", PAD_X + 3, ROWS[2], 1, 2)
# Home row, with the ISO key before Enter.
row(ROWS[3], MAIN_X, [(63, "Caps", 1.75)] + [(64 + i, c, 1) for i, c in enumerate("ASDFGHJKL")] +
    [(73, ";", 1), (74, "'", 1), (102, "K45", 1), (75, "Enter", 1.25)])
row(ROWS[3], PAD_X, [(76, "4", 1), (77, "5", 1), (78, "6", 1)])
# Lower letter row, with the ISO key after the left Shift and the Brazilian key before the right.
row(ROWS[4], MAIN_X, [(84, "Shift", 1.25), (100, "K56", 1)] +
    [(85 + i, c, 1) for i, c in enumerate("ZXCVBNM")] +
    [(92, ",", 1), (93, ".", 1), (94, "/", 1), (103, "K107", 1), (95, "Shift", 1.75)])
key(96, "\u2191", NAV_X + 1, ROWS[4])
row(ROWS[4], PAD_X, [(97, "1", 1), (98, "2", 1), (99, "3", 1)])
key(118, "Ent", PAD_X + 3, ROWS[4], 1, 2)
# Bottom row, with the Japanese and Korean keys around the space bar.
row(ROWS[5], MAIN_X, [(105, "Ctrl", 1), (106, "Win", 1), (107, "Alt", 1), (80, "K131", 1), (81, "K151", 1),
                      (108, "", 2), (82, "K150", 1), (79, "K132", 1), (83, "K133", 1), (109, "Alt", 1),
                      (125, "Win", 1), (110, "Fn", 1), (111, "App", 1), (112, "Ctrl", 1)])
row(ROWS[5], NAV_X, [(113, "\u2190", 1), (114, "\u2193", 1), (115, "\u2192", 1)])
row(ROWS[5], PAD_X, [(116, "0", 2), (117, ".", 1)])
# Macro keys down the left edge.
for index in range(5):
    key(120 + index, "M%d" % (index + 1), MACRO_X, ROWS[1 + index])
# Positions without a key keep a hidden button so that every position has one.
for position in (18, 19, 20, 62, 104):
    key(position, "", PAD_X + 2, ROWS[0])

assert sorted(KEYS) == list(range(126)), sorted(set(range(126)) - set(KEYS))

KEY_STYLE = ('font="10" align="center" textcolor="#FFE6E8EB" disabledtextcolor="#FF5C6370" bkcolor="#FF21252D" '
             'hotbkcolor="#FF2A2F3A" pushedbkcolor="#FF1F2229" disabledbkcolor="#FF1B1E24" '
             'bordercolor="#FF2E333D" bordersize="1" borderround="4,4"')
KEY_EXTRA = 'keysetimage="file=\'device/keyset_frame.png\' corner=\'8,8,8,8\'"'
LIGHT_EXTRA = 'lightimage="file=\'device/key_light.png\' corner=\'6,6,6,6\'"'


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace('"', "&quot;")


def button(prefix, position, extra):
    caption, x, y, width, height = KEYS[position]
    left = MARGIN + round(x * UNIT)
    top = MARGIN + round(y * UNIT)
    right = MARGIN + round((x + width) * UNIT) - GAP
    bottom = MARGIN + round((y + height) * UNIT) - GAP
    hidden = ' visible="false"' if position in (18, 19, 20, 62, 104) else ""
    return ('        <DeviceKeyButton name="%s%d" text="%s" float="true" pos="%d,%d,%d,%d"%s %s %s/>'
            % (prefix, position, escape(caption), left, top, right, bottom, hidden, KEY_STYLE, extra))


def layer(prefix, extra):
    return "\n".join(button(prefix, position, extra) for position in range(126))


def main():
    page = pathlib.Path(__file__).resolve().parent.parent / "resources/skin/XML/DeviceXml/keyboarddevice.xml"
    text = page.read_text(encoding="utf-8")
    for marker, prefix, extra in (("key layer", "key_", KEY_EXTRA), ("light layer", "light_", LIGHT_EXTRA)):
        pattern = re.compile(r"(<!-- %s begin -->).*?(\n[ ]*<!-- %s end -->)" % (marker, marker), re.S)
        text, count = pattern.subn(lambda m: m.group(1) + "\n" + layer(prefix, extra) + m.group(2), text)
        assert count == 1, marker
    page.write_text(text, encoding="utf-8")
    width = MARGIN * 2 + round(24.5 * UNIT) - GAP
    height = MARGIN * 2 + round(6.5 * UNIT) - GAP
    print("keys drawn; the layers are %d x %d" % (width, height))


if __name__ == "__main__":
    main()
