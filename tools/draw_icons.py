#!/usr/bin/python3
"""Draws the program's icons into resources/icons as 32 x 32, 16-colour .ico files.

104 idle.ico      black "時"            105 running.ico  blue "時"
109..117 digit9.ico .. digit1.ico        118 digit0.ico   blue digits

Glyphs come from IPA Gothic (Debian: fonts-ipafont-gothic).  Pillow writes only
32-bit icons, so the 4-bit icon records are written here.  Output is
deterministic: running this again without changes leaves the files identical.

Usage: tools/draw_icons.py [--preview FILE.png]
"""

import argparse
import pathlib
import struct
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFont

SIZE = 32
FONT_CANDIDATES = [
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
]

# The standard 16-colour Windows palette; a glyph takes one entry of it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK = 0
BLUE = 12

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT_DIR = ROOT / "resources" / "icons"


def find_font():
    for path in FONT_CANDIDATES:
        if pathlib.Path(path).is_file():
            return path
    try:
        found = subprocess.run(["fc-match", "-f", "%{file}", "IPAGothic"], capture_output=True, text=True,
                               check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        found = ""
    if found.lower().endswith(("ipag.ttf", "fonts-japanese-gothic.ttf")):
        return found
    sys.exit("IPA Gothic not found; install fonts-ipafont-gothic")


def kanji_mask(font_path, char, box):
    """The kanji at the largest whole pixel size that fits box, drawn by the font's hinter
    without smoothing: at 32 pixels hinted strokes stay one crisp pixel wide."""
    best = None
    for size in range(16, 64):
        font = ImageFont.truetype(font_path, size)
        canvas = Image.new("L", (SIZE * 3, SIZE * 3), 0)
        draw = ImageDraw.Draw(canvas)
        draw.fontmode = "1"
        draw.text((SIZE, SIZE), char, fill=255, font=font)
        glyph = canvas.crop(canvas.getbbox())
        if max(glyph.size) > box:
            break
        best = glyph
    return centred(best)


def digit_mask(font_path, char, box, stroke, scale=8):
    """A digit drawn large with a widened outline, scaled down and cut at half coverage:
    the thin strokes of the regular face would vanish when the shell shrinks the icon
    for the notification area."""
    def draw_big(size, width):
        font = ImageFont.truetype(font_path, size)
        canvas = Image.new("L", (size * 3, size * 3), 0)
        draw = ImageDraw.Draw(canvas)
        draw.text((size, size), char, fill=255, font=font, stroke_width=width, stroke_fill=255)
        return canvas.crop(canvas.getbbox())

    target = box * scale
    size = round(256 * target / max(draw_big(256, 0).size))
    glyph = draw_big(size, round(stroke * scale))
    k = target / max(glyph.size)
    glyph = glyph.resize((max(1, round(glyph.width * k)), max(1, round(glyph.height * k))), Image.LANCZOS)
    big = Image.new("L", (SIZE * scale, SIZE * scale), 0)
    big.paste(glyph, ((big.width - glyph.width) // 2, (big.height - glyph.height) // 2))
    return big.resize((SIZE, SIZE), Image.BOX).point(lambda v: 255 if v >= 128 else 0)


def centred(glyph):
    mask = Image.new("L", (SIZE, SIZE), 0)
    mask.paste(glyph, ((SIZE - glyph.width) // 2, (SIZE - glyph.height) // 2))
    return mask.point(lambda v: 255 if v >= 128 else 0)


def ico_bytes(mask, colour):
    """One 32 x 32 4-bit icon: header, directory entry, BITMAPINFOHEADER, palette,
    colour bitmap and AND mask, both bottom-up.  Uncovered pixels are index 0 with
    the mask bit set, so they show the background."""
    row_xor = SIZE // 2  # two pixels a byte, already a multiple of four
    row_and = ((SIZE + 31) // 32) * 4
    xor = bytearray()
    and_mask = bytearray()
    pixels = mask.load()
    for y in reversed(range(SIZE)):
        nibbles = [colour if pixels[x, y] else 0 for x in range(SIZE)]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (0 if pixels[x, y] else 1)
        and_mask += bits.to_bytes(SIZE // 8, "big").ljust(row_and, b"\0")
    assert len(xor) == row_xor * SIZE
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image_size = len(xor) + len(and_mask)
    # Height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, image_size, 0, 0, 0, 0)
    image = header + palette + bytes(xor) + bytes(and_mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def icon_set(font_path):
    box = SIZE - 2  # one pixel of air on each side
    kanji = kanji_mask(font_path, "時", box)
    icons = [("idle.ico", kanji, BLACK), ("running.ico", kanji, BLUE)]
    for digit in range(10):
        icons.append((f"digit{digit}.ico", digit_mask(font_path, str(digit), box, stroke=1.2), BLUE))
    return icons


def preview(icons, path):
    """All icons enlarged six times on white and on grey, to look at."""
    cell = SIZE + 4
    sheet = Image.new("RGB", (cell * len(icons), cell * 2), (255, 255, 255))
    sheet.paste((160, 160, 160), (0, cell, sheet.width, sheet.height))
    for i, (name, _, _) in enumerate(icons):
        with Image.open(OUT_DIR / name) as icon:  # read back what was written
            icon = icon.convert("RGBA")
        for row in range(2):
            sheet.paste(icon, (i * cell + 2, row * cell + 2), icon)
    sheet.resize((sheet.width * 6, sheet.height * 6), Image.NEAREST).save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="PNG", help="also write an enlarged sheet of all icons")
    args = parser.parse_args()
    icons = icon_set(find_font())
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    for name, mask, colour in icons:
        (OUT_DIR / name).write_bytes(ico_bytes(mask, colour))
    if args.preview:
        preview(icons, args.preview)


if __name__ == "__main__":
    main()
