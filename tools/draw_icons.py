#!/usr/bin/python3
"""Draws the program's icons into resources/icons as .ico files of many sizes.

104 idle.ico      black "時"            105 running.ico  blue "時"
109..117 digit9.ico .. digit1.ico        118 digit0.ico   blue digits
119 paused.ico    blue "時" with a pause mark (two bars) in its lower right corner

Each file holds, each drawn for its size so that the caption, the taskbar, the
notification area and Explorer's views stay sharp from 100 to 200 % scaling:
- 32-bit images with alpha at 16, 20, 24, 32, 40, 48, 64 and 256 pixels (256 as
  PNG), the glyph inside a white outline, so that it reads on a dark taskbar as
  well as on a light one;
- 16-colour images at 16, 20, 24, 32 and 48 pixels for displays of fewer colours.
Up to 64 pixels the glyph is one crisp colour and the outline opaque white; up
to 32 the glyph is the 16-colour image's, so on white both kinds look the same
(an outline wider than a pixel takes room from the glyph).  Glyphs come from IPA Gothic (Debian:
fonts-ipafont-gothic).  Pillow's icon writer cannot mix the two kinds, so the
records are written here.  Output is deterministic: running this again without
changes leaves the files identical.

Usage: tools/draw_icons.py [--preview FILE.png] [--taskbars FILE.png]
  --taskbars writes the picture of the icons on a dark and a light taskbar,
  read back from the .ico files (docs/icons-on-taskbars.png).
"""

import argparse
import io
import pathlib
import struct
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SIZES = (16, 20, 24, 32, 48)  # 16-colour images
ALPHA_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)  # 32-bit images; the largest as PNG
PNG_SIZE = 256
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
OUTLINE = (255, 255, 255)

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


def kanji_mask(font_path, char, box, pixels, smooth=False):
    """The kanji at the largest whole pixel size that fits box.  Drawn by the font's hinter
    without smoothing, hinted strokes stay one crisp pixel wide; smooth, the edges keep
    their coverage (for the large image)."""
    best = None
    for size in range(max(8, box // 2), 2 * box + 8):
        font = ImageFont.truetype(font_path, size)
        canvas = Image.new("L", (pixels * 3, pixels * 3), 0)
        draw = ImageDraw.Draw(canvas)
        draw.fontmode = "L" if smooth else "1"
        draw.text((pixels, pixels), char, fill=255, font=font)
        glyph = canvas.crop(canvas.getbbox())
        if max(glyph.size) > box:
            break
        best = glyph
    return centred(best, pixels, smooth)


def digit_mask(font_path, char, box, stroke, pixels, smooth=False):
    """A digit drawn large with a widened outline, scaled down and cut at half coverage:
    the thin strokes of the regular face would vanish when the shell shrinks the icon
    for the notification area.  Smooth, the coverage is kept instead (for the large image)."""
    scale = 2 if smooth else 8

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
    small = big.resize((pixels, pixels), Image.BOX)
    return small if smooth else small.point(lambda v: 255 if v >= 128 else 0)


def centred(glyph, pixels, smooth=False):
    mask = Image.new("L", (pixels, pixels), 0)
    mask.paste(glyph, ((pixels - glyph.width) // 2, (pixels - glyph.height) // 2))
    return mask if smooth else mask.point(lambda v: 255 if v >= 128 else 0)


def glyph_mask(font_path, char, pixels, margin):
    """The glyph of one image, margin pixels of air each side; the 16-colour images and
    the 32-bit ones up to 64 pixels are crisp, the largest smooth."""
    box = pixels - 2 * margin
    smooth = pixels == PNG_SIZE
    if not char.isdigit():
        return kanji_mask(font_path, char, box, pixels, smooth)
    # Below 32 pixels a widened stroke would close the digits' holes.
    stroke = 0.6 if pixels < 32 else 1.2 * max(1, pixels / 48)
    return digit_mask(font_path, char, box, stroke, pixels, smooth)


def with_pause_mark(mask, margin):
    """The glyph with two bars in its lower right corner, cleared around them so
    that they read apart from the glyph (its outline, in the 32-bit images)."""
    pixels = mask.width
    bar = max(2, round(pixels * 0.12))
    width, height = 3 * bar, max(5, round(3.6 * bar))
    right, bottom = pixels - margin, pixels - margin
    left, top = right - width, bottom - height
    clear = max(1, 2 * margin if pixels > 32 else margin)
    draw = ImageDraw.Draw(mask)
    draw.rectangle((left - clear, top - clear, pixels - 1, pixels - 1), fill=0)
    draw.rectangle((left, top, left + bar - 1, bottom - 1), fill=255)
    draw.rectangle((right - bar, top, right - 1, bottom - 1), fill=255)
    return mask


def outline_width(pixels):
    """One pixel up to 32, then growing with the image."""
    return max(1, round(pixels / 24))


def outlined(mask, ink, width):
    """The glyph in its ink over an opaque white outline width pixels wide, as RGBA;
    uncovered pixels are transparent black."""
    if mask.width == PNG_SIZE:
        # Round corners and soft edges: grown a little less, then blurred out.
        halo = mask.filter(ImageFilter.MaxFilter(2 * width - 1)).filter(ImageFilter.GaussianBlur(1.5))
        halo = halo.point(lambda v: min(255, v * 3))
    else:
        halo = mask.filter(ImageFilter.MaxFilter(2 * width + 1))
    under = Image.new("RGBA", mask.size, OUTLINE + (0,))
    under.putalpha(halo)
    over = Image.new("RGBA", mask.size, ink + (0,))
    over.putalpha(mask)
    image = Image.alpha_composite(under, over)
    image.putdata([pixel if pixel[3] else (0, 0, 0, 0) for pixel in image.getdata()])
    return image


def image_bytes(mask, colour):
    """One square 4-bit icon image: BITMAPINFOHEADER, palette, colour bitmap and AND
    mask, both bottom-up.  Uncovered pixels are index 0 with the mask bit set, so
    they show the background."""
    pixels = mask.width
    row_xor = (pixels // 2 + 3) // 4 * 4  # two pixels a byte, rows padded to four bytes
    xor = bytearray()
    ink = mask.load()
    for y in reversed(range(pixels)):
        nibbles = [colour if ink[x, y] else 0 for x in range(pixels)]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, pixels, 2)).ljust(row_xor, b"\0")
    assert len(xor) == row_xor * pixels
    and_mask = and_mask_bytes(lambda x, y: ink[x, y] == 0, pixels)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return bitmap_header(pixels, 4, len(xor) + len(and_mask)) + palette + bytes(xor) + and_mask


def alpha_image_bytes(image):
    """One square 32-bit icon image: BITMAPINFOHEADER, BGRA rows with straight (not
    premultiplied) alpha and the AND mask, both bottom-up; the mask marks the fully
    transparent pixels for whoever draws without alpha."""
    pixels = image.width
    data = image.load()
    xor = bytearray()
    for y in reversed(range(pixels)):
        for x in range(pixels):
            r, g, b, a = data[x, y]
            xor += bytes((b, g, r, a))
    and_mask = and_mask_bytes(lambda x, y: data[x, y][3] == 0, pixels)
    return bitmap_header(pixels, 32, len(xor) + len(and_mask)) + bytes(xor) + and_mask


def and_mask_bytes(transparent, pixels):
    """The 1-bit mask, bottom-up, rows padded to whole 32-bit words; set bits show the background."""
    row_and = ((pixels + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(pixels)):
        bits = 0
        for x in range(pixels):
            bits = (bits << 1) | (1 if transparent(x, y) else 0)
        bits <<= (8 - pixels % 8) % 8
        out += bits.to_bytes((pixels + 7) // 8, "big").ljust(row_and, b"\0")
    return bytes(out)


def bitmap_header(pixels, bits, image_size):
    # Height counts the colour bitmap and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, pixels, pixels * 2, 1, bits, 0, image_size, 0, 0, 0, 0)


def png_bytes(image):
    out = io.BytesIO()
    image.save(out, "PNG", optimize=True)
    return out.getvalue()


def ico_bytes(records):
    """An .ico file of (pixels, palette colours, bits per pixel, image) records in their
    order: header, directory, images.  256 pixels is written as 0."""
    out = struct.pack("<HHH", 0, 1, len(records))
    offset = 6 + 16 * len(records)
    for pixels, colours, bits, image in records:
        out += struct.pack("<BBBBHHII", pixels % 256, pixels % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    return out + b"".join(record[3] for record in records)


def icon_records(font_path, char, colour, paused=False):
    """The records of one icon: the 16-colour images, then the 32-bit ones, smallest first."""

    def mask(pixels, margin):
        glyph = glyph_mask(font_path, char, pixels, margin)
        return with_pause_mark(glyph, margin) if paused else glyph

    records = []
    for pixels in SIZES:
        records.append((pixels, 16, 4, image_bytes(mask(pixels, 1), colour)))
    for pixels in ALPHA_SIZES:
        width = outline_width(pixels)
        image = outlined(mask(pixels, width), PALETTE[colour], width)
        records.append((pixels, 0, 32, png_bytes(image) if pixels == PNG_SIZE else alpha_image_bytes(image)))
    return records


def icon_set(font_path):
    """(file name, records) of every icon."""
    icons = [("idle.ico", icon_records(font_path, "時", BLACK)), ("running.ico", icon_records(font_path, "時", BLUE))]
    for digit in (9, 8, 7, 6, 5, 4, 3, 2, 1, 0):
        icons.append((f"digit{digit}.ico", icon_records(font_path, str(digit), BLUE)))
    icons.append(("paused.ico", icon_records(font_path, "時", BLUE, paused=True)))
    return icons


def read_icon(name, pixels, bits):
    """One image of a written icon file as RGBA."""
    with Image.open(OUT_DIR / name) as icon:
        return icon.ico.getimage((pixels, pixels), bits).convert("RGBA")


def preview(names, path):
    """All icons' 48 and 32 pixel images enlarged six times on white and on grey, to look at."""
    pixels = max(SIZES)
    cell = pixels + 4
    sheet = Image.new("RGB", (cell * len(names), cell * 2), (255, 255, 255))
    sheet.paste((160, 160, 160), (0, cell, sheet.width, sheet.height))
    for i, name in enumerate(names):
        for row, size in enumerate((pixels, 32)):
            image = read_icon(name, size, 32)
            sheet.paste(image, (i * cell + 2, row * cell + 2), image)
    sheet.resize((sheet.width * 6, sheet.height * 6), Image.NEAREST).save(path)


# The taskbars of Windows 10 and 11 in their dark and light modes.
TASKBARS = (("dark taskbar", (32, 32, 32), (255, 255, 255)), ("light taskbar", (238, 238, 238), (0, 0, 0)))


def taskbars(names, font_path, path):
    """Every icon as the notification area shows it at 100, 150 and 200 % scaling (16,
    24 and 32 pixels) on a dark and on a light taskbar, the 32-bit images and, for
    comparison, the 16-colour ones at 16 pixels; read back from the written files and
    enlarged twice, pixel for pixel."""
    rows = [(size, 32) for size in (16, 24, 32)] + [(16, 4)]
    font = ImageFont.truetype(font_path, 12)
    labels = [[f"{title}, {size} px, {'32-bit' if bits == 32 else '16 colours'}" for size, bits in rows]
              for title, _, _ in TASKBARS]
    gap = 10
    label_width = round(max(font.getlength(label) for band in labels for label in band)) + 2 * gap
    row_height = 32 + gap
    width = label_width + len(names) * (32 + gap)
    band = len(rows) * row_height + gap
    sheet = Image.new("RGB", (width, band * len(TASKBARS)))
    draw = ImageDraw.Draw(sheet)
    for b, (_, background, text) in enumerate(TASKBARS):
        top = b * band
        draw.rectangle((0, top, width, top + band - 1), fill=background)
        for r, (size, bits) in enumerate(rows):
            y = top + gap + r * row_height
            draw.text((gap, y + 10), labels[b][r], fill=text, font=font)
            for i, name in enumerate(names):
                image = read_icon(name, size, bits)
                x = label_width + i * (32 + gap) + (32 - size) // 2
                sheet.paste(image, (x, y + (32 - size) // 2), image)
    sheet = sheet.resize((sheet.width * 2, sheet.height * 2), Image.NEAREST)
    sheet.save(path, optimize=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="PNG", help="also write an enlarged sheet of all icons")
    parser.add_argument("--taskbars", metavar="PNG", help="also write the icons on a dark and a light taskbar")
    args = parser.parse_args()
    font_path = find_font()
    icons = icon_set(font_path)
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    for name, records in icons:
        (OUT_DIR / name).write_bytes(ico_bytes(records))
    names = [name for name, _ in icons]
    if args.preview:
        preview(names, args.preview)
    if args.taskbars:
        taskbars(names, font_path, args.taskbars)


if __name__ == "__main__":
    main()
