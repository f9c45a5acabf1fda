#!/usr/bin/python3
"""Draws the program's icons into resources/icons as 16-colour .ico files of five sizes.

104 idle.ico      black "時"            105 running.ico  blue "時"
109..117 digit9.ico .. digit1.ico        118 digit0.ico   blue digits

Each file holds 16, 20, 24, 32 and 48 pixel images, each drawn for its size, so
that the caption, the taskbar and the notification area stay sharp from 100 to
200 % scaling.  Glyphs come from IPA Gothic (Debian: fonts-ipafont-gothic).  Pillow writes only
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

SIZES = (16, 20, 24, 32, 48)
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


def kanji_mask(font_path, char, box, pixels):
    """The kanji at the largest whole pixel size that fits box, drawn by the font's hinter
    without smoothing: hinted strokes stay one crisp pixel wide."""
    best = None
    for size in range(8, 96):
        font = ImageFont.truetype(font_path, size)
        canvas = Image.new("L", (pixels * 3, pixels * 3), 0)
        draw = ImageDraw.Draw(canvas)
        draw.fontmode = "1"
        draw.text((pixels, pixels), char, fill=255, font=font)
        glyph = canvas.crop(canvas.getbbox())
        if max(glyph.size) > box:
            break
        best = glyph
    return centred(best, pixels)


def digit_mask(font_path, char, box, stroke, pixels, scale=8):
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
    big = Image.new("L", (pixels * scale, pixels * scale), 0)
    big.paste(glyph, ((big.width - glyph.width) // 2, (big.height - glyph.height) // 2))
    return big.resize((pixels, pixels), Image.BOX).point(lambda v: 255 if v >= 128 else 0)


def centred(glyph, pixels):
    mask = Image.new("L", (pixels, pixels), 0)
    mask.paste(glyph, ((pixels - glyph.width) // 2, (pixels - glyph.height) // 2))
    return mask.point(lambda v: 255 if v >= 128 else 0)


def image_bytes(mask, colour):
    """One square 4-bit icon image: BITMAPINFOHEADER, palette, colour bitmap and AND
    mask, both bottom-up.  Uncovered pixels are index 0 with the mask bit set, so
    they show the background."""
    pixels = mask.width
    row_xor = (pixels // 2 + 3) // 4 * 4  # two pixels a byte, rows padded to four bytes
    row_and = ((pixels + 31) // 32) * 4
    xor = bytearray()
    and_mask = bytearray()
    ink = mask.load()
    for y in reversed(range(pixels)):
        nibbles = [colour if ink[x, y] else 0 for x in range(pixels)]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, pixels, 2)).ljust(row_xor, b"\0")
        bits = 0
        for x in range(pixels):
            bits = (bits << 1) | (0 if ink[x, y] else 1)
        bits <<= (8 - pixels % 8) % 8
        and_mask += bits.to_bytes((pixels + 7) // 8, "big").ljust(row_and, b"\0")
    assert len(xor) == row_xor * pixels
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image_size = len(xor) + len(and_mask)
    # Height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, pixels, pixels * 2, 1, 4, 0, image_size, 0, 0, 0, 0)
    return header + palette + bytes(xor) + bytes(and_mask)


def ico_bytes(masks, colour):
    """An .ico file of one image per mask, smallest first: header, directory, images."""
    images = [image_bytes(mask, colour) for mask in masks]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for mask, image in zip(masks, images):
        out += struct.pack("<BBBBHHII", mask.width, mask.width, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def icon_set(font_path):
    """(file name, one mask per size, colour) of every icon."""
    kanji = [kanji_mask(font_path, "時", size - 2, size) for size in SIZES]  # a pixel of air each side
    icons = [("idle.ico", kanji, BLACK), ("running.ico", kanji, BLUE)]
    for digit in range(10):
        # Below 32 pixels a widened stroke would close the digits' holes.
        masks = [digit_mask(font_path, str(digit), size - 2, 1.2 if size >= 32 else 0.6, size) for size in SIZES]
        icons.append((f"digit{digit}.ico", masks, BLUE))
    return icons


def preview(icons, path):
    """All icons enlarged six times on white and on grey, to look at."""
    pixels = max(SIZES)
    cell = pixels + 4
    sheet = Image.new("RGB", (cell * len(icons), cell * 2), (255, 255, 255))
    sheet.paste((160, 160, 160), (0, cell, sheet.width, sheet.height))
    for i, (name, _, _) in enumerate(icons):
        with Image.open(OUT_DIR / name) as icon:  # read back what was written
            for row, size in enumerate((pixels, 32)):
                icon.size = (size, size)
                image = icon.convert("RGBA")
                sheet.paste(image, (i * cell + 2, row * cell + 2), image)
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
