#!/usr/bin/env python3
"""Draws the program's small pictures (map editor buttons, check boxes, sheet backgrounds, the emblem) as PNG.

Run from this folder after changing a picture: python3 make_bitmaps.py. Only the standard library is used.
"""
import colorsys
import struct
import zlib

FACE = (0xD4, 0xD2, 0xCC)  # button background; the map editor recolours it to the system button face
INK = (0x20, 0x20, 0x20)
GREY = (0x90, 0x90, 0x90)
WHITE = (0xFF, 0xFF, 0xFF)
BLUE = (0x1E, 0x50, 0xB4)
RED = (0xC8, 0x28, 0x28)
GREEN = (0x1E, 0x8C, 0x3C)

FONT = {  # 5 x 7 capitals and digits, '#' = ink
    'A': [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'D': ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    'E': ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    'G': [" ####", "#    ", "#    ", "# ###", "#   #", "#   #", " ### "],
    'K': ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    'L': ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    'N': ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    'O': [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'P': ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    'Q': [" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"],
    'R': ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    'T': ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "],
    'U': ["#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'V': ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    '1': ["  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "],
    '2': [" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"],
    '3': [" ### ", "#   #", "    #", "  ## ", "    #", "#   #", " ### "],
    'n': ["     ", "     ", "#### ", "#   #", "#   #", "#   #", "#   #"],
}


class Picture:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]
        self.ox = self.oy = 0  # where drawing coordinates start

    def set(self, x, y, colour):
        x, y = x + self.ox, y + self.oy
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.set(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def text(self, x, y, text, colour, scale=1):
        for ch in text:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == '#':
                        self.rect(x + col * scale, y + row * scale, x + col * scale + scale - 1,
                                  y + row * scale + scale - 1, colour)
            x += 6 * scale

    def save(self, name):
        raw = b''.join(b'\x00' + bytes(c for px in row for c in px) for row in self.pixels)
        def chunk(kind, data):
            return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
        png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', self.width, self.height, 8, 2, 0, 0, 0))
        png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
        with open(name + '.png', 'wb') as f:
            f.write(png)


def tint(name, colour):
    p = Picture(64, 64, colour)
    for y in range(64):  # a light fall-off from top to bottom
        shade = tuple(max(0, c - y // 16) for c in colour)
        for x in range(64):
            p.set(x, y, shade)
    p.save(name)


def rainbow(bands):
    p = Picture(bands * 22, 22, WHITE)
    for b in range(bands):
        hue = 0.66 * (1 - b / max(bands - 1, 1))  # cold blue to hot red
        r, g, bl = colorsys.hsv_to_rgb(hue, 0.28, 1.0)
        p.rect(b * 22, 0, b * 22 + 21, 21, (round(r * 255), round(g * 255), round(bl * 255)))
    p.save('BGRAINBOW%dx22' % bands)


def check_box(name, state):  # 0 empty, 1 ticked, 2 partly
    p = Picture(13, 13, WHITE)
    p.frame(0, 0, 12, 12, INK)
    if state == 1:
        for x0, y0, x1, y1 in ((3, 6, 5, 8), (5, 8, 9, 4)):
            p.line(x0, y0, x1, y1, INK)
            p.line(x0, y0 - 1, x1, y1 - 1, INK)
    elif state == 2:
        p.rect(3, 3, 9, 9, GREY)
    p.save(name)


def button(name, draw, enabled=True, width=22, height=22):
    """A picture filling the face of a map editor side button (a 24 x 24 box, or 58 x 24 for the view buttons,
    drawn one pixel in from the top left), the 20 x 20 glyph in its middle."""
    p = Picture(width, height, FACE)
    p.ox, p.oy = (width - 20) // 2, (height - 20) // 2
    draw(p, INK if enabled else GREY)
    p.save(name)


def copy_glyph(p, ink, sheet=False):
    p.frame(3, 2, 11, 12, ink)
    p.rect(7, 6, 16, 17, FACE)
    p.frame(7, 6, 16, 17, ink)
    if sheet:
        for y in (9, 12, 15):
            p.line(9, y, 14, y, ink)


def paste_glyph(p, ink, sheet=False):
    p.frame(3, 4, 14, 17, ink)
    p.rect(6, 2, 11, 5, ink)
    p.rect(8, 8, 17, 18, WHITE)
    p.frame(8, 8, 17, 18, ink)
    if sheet:
        for y in (11, 14):
            p.line(10, y, 15, y, ink)


def table_glyph(p, ink):
    p.frame(2, 3, 17, 16, ink)
    for x in (7, 12):
        p.line(x, 3, x, 16, ink)
    for y in (8, 12):
        p.line(2, y, 17, y, ink)


def graph2d_glyph(p, ink):
    p.line(2, 2, 2, 17, ink)
    p.line(2, 17, 17, 17, ink)
    for x0, y0, x1, y1 in ((3, 14, 8, 9), (8, 9, 12, 11), (12, 11, 17, 4)):
        p.line(x0, y0, x1, y1, BLUE if ink == INK else ink)


def graph3d_glyph(p, ink):
    # A surface seen from above: a skewed grid whose far corner is raised.
    a, b, c, d = (2, 12), (10, 17), (17, 4), (8, 2)
    colour = RED if ink == INK else ink
    for i in range(4):
        t = i / 3
        p.line(round(a[0] + (d[0] - a[0]) * t), round(a[1] + (d[1] - a[1]) * t),
               round(b[0] + (c[0] - b[0]) * t), round(b[1] + (c[1] - b[1]) * t), colour if i else ink)
        p.line(round(a[0] + (b[0] - a[0]) * t), round(a[1] + (b[1] - a[1]) * t),
               round(d[0] + (c[0] - d[0]) * t), round(d[1] + (c[1] - d[1]) * t), colour if i else ink)


def lambda_glyph(p, ink, active=False):
    if active:
        p.rect(1, 1, 18, 18, (0xFF, 0xE6, 0x6E))
    p.line(5, 3, 14, 17, ink)
    p.line(6, 3, 15, 17, ink)
    p.line(10, 10, 5, 17, ink)
    p.line(4, 3, 6, 3, ink)


def small(name, letters, colour):
    p = Picture(16, 16, WHITE)
    p.frame(0, 0, 15, 15, GREY)
    width = 6 * len(letters) - 1
    p.text((16 - width) // 2, 4, letters, colour)
    p.save(name)


def logo():
    p = Picture(160, 80, WHITE)
    p.rect(0, 0, 159, 79, (0x14, 0x2D, 0x5A))
    p.rect(4, 4, 155, 75, (0x1E, 0x46, 0x8C))
    p.text(8, 14, 'QUORVANE', WHITE, 3)
    p.line(8, 42, 151, 42, (0xF0, 0xB4, 0x28))
    p.text(41, 50, 'KELVORA', (0xF0, 0xB4, 0x28), 2)
    p.save('LOGO_QUORVANE160x80')


def main():
    tint('BGINJB', (0xDC, 0xE8, 0xF8))
    tint('BGINJG', (0xDC, 0xF4, 0xDC))
    tint('BGWA', (0xF8, 0xF0, 0xDC))
    for bands in (7, 9, 10):
        rainbow(bands)
    check_box('BTCHK', 1)
    check_box('BTCHKSOME', 2)
    check_box('BTCHK0', 0)
    check_box('BTCHK1', 1)
    button('CLBRD_COPY', copy_glyph)
    button('CLBRD_COPY0', copy_glyph, enabled=False)
    button('CLBRD_COPYSHEET', lambda p, ink: copy_glyph(p, ink, sheet=True))
    button('CLBRD_PAST', paste_glyph)
    button('CLBRD_PAST0', paste_glyph, enabled=False)
    button('CLBRD_PASTSHEET', lambda p, ink: paste_glyph(p, ink, sheet=True))
    button('BTTAB', table_glyph, width=56)
    button('BT2D', graph2d_glyph, width=56)
    button('BT3D', graph3d_glyph, width=56)
    button('LAMBDA', lambda_glyph)
    button('LAMBDA0', lambda_glyph, enabled=False)
    button('LAMBDA_ACT', lambda p, ink: lambda_glyph(p, ink, active=True))
    small('BT_G', 'G', GREEN)
    small('BT_T', 'T', BLUE)
    small('BT_P', 'P', INK)
    small('BT_nP', 'nP', GREY)
    logo()


if __name__ == '__main__':
    main()
