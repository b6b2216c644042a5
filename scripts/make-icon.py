#!/usr/bin/python3
"""Draws the Horalia clock-face icon and writes it as resources/horalia.ico and PNGs.

horalia.ico holds eight images, in this order:
  48x48 at 8 bits per pixel (256-colour palette, transparency through the AND mask),
  256x256 and 128x128 at 32 bits per pixel as PNG (as Windows keeps its large icons, a tenth of
  the bitmap's size), 64x64, 48x48, 32x32, 24x24 and 16x16 at 32 bits per pixel (straight
  alpha, plus an AND mask), so that a screen at 200 % and more finds an image of its own size.
PIL cannot write a palettised icon entry, so the ICO container (ICONDIR, ICONDIRENTRY and one
BITMAPINFOHEADER DIB or PNG per image) is written here by hand.

resources/icons/horalia-<N>.png are the same artwork for the Linux desktop and tray.

Every image is drawn afresh for its own size, eight times larger, and scaled down, so that line
widths can be kept at least about one pixel at the small sizes. The output depends only on this
script and the PIL version: running it again gives identical files.

Usage: scripts/make-icon.py [resources-folder]   (default: resources/ beside this script)
"""

import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw

SUPERSAMPLE = 8

# Colours (R, G, B, A).
RIM_OUTER = (22, 74, 122, 255)  # deep blue
RIM_INNER = (48, 120, 180, 255)  # lighter blue bevel
FACE = (252, 250, 242, 255)  # warm white
FACE_SHADE = (226, 233, 240, 255)  # faint inner ring under the rim
TICK_MAJOR = (30, 44, 66, 255)
TICK_MINOR = (96, 110, 130, 255)
HOUR_HAND = (30, 44, 66, 255)
MINUTE_HAND = (30, 44, 66, 255)
SECOND_HAND = (214, 64, 52, 255)  # red accent
HUB = (214, 64, 52, 255)

# The hands show 10:10, the usual pose of a clock in a picture; the second hand points between
# the 7 and the 8, clear of the ticks.
HOURS, MINUTES, SECONDS = 10, 10, 38

ICO_SIZES_PNG = (256, 128)
ICO_SIZES_32BPP = (64, 48, 32, 24, 16)
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def _angle_point(cx, cy, radius, turns):
    """Point at `radius` from the centre, `turns` of a full turn clockwise from 12 o'clock."""
    a = 2.0 * math.pi * turns
    return (cx + radius * math.sin(a), cy - radius * math.cos(a))


def _line(draw, p0, p1, width, colour):
    """A line with round caps, so hands and ticks have soft ends at every size."""
    draw.line([p0, p1], fill=colour, width=max(1, int(round(width))))
    r = width / 2.0
    for x, y in (p0, p1):
        draw.ellipse([x - r, y - r, x + r, y + r], fill=colour)


def _circle(draw, cx, cy, r, colour):
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour)


def render(size):
    """The icon at size x size pixels, RGBA."""
    s = size * SUPERSAMPLE
    px = float(SUPERSAMPLE)  # one output pixel in supersampled units
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    c = s / 2.0
    outer = s / 2.0 - 0.5 * px  # keep half a pixel clear so the edge antialiases inside
    rim = max(1.2 * px, s * 0.075)
    bevel = max(0.0, rim * 0.35) if size >= 24 else 0.0
    face = outer - rim

    _circle(d, c, c, outer, RIM_OUTER)
    if bevel > 0:
        _circle(d, c, c, outer - rim + bevel, RIM_INNER)
    _circle(d, c, c, face, FACE)
    if size >= 32:
        # A faint shade just inside the rim gives the face some depth.
        _circle(d, c, c, face, FACE_SHADE)
        _circle(d, c, c, face - max(px, s * 0.02), FACE)

    # Twelve ticks; the quarter-hour ones are longer and heavier.
    for i in range(12):
        major = i % 3 == 0
        if size <= 16 and not major:
            length = max(1.3 * px, face * 0.14)
            width = max(0.9 * px, s * 0.028)
        else:
            length = face * (0.24 if major else 0.13)
            width = max((1.3 if major else 1.0) * px, s * (0.05 if major else 0.028))
        r_out = face - max(0.8 * px, face * 0.07)
        p0 = _angle_point(c, c, r_out, i / 12.0)
        p1 = _angle_point(c, c, r_out - length, i / 12.0)
        _line(d, p0, p1, width, TICK_MAJOR if major else TICK_MINOR)

    hour_turns = ((HOURS % 12) + MINUTES / 60.0) / 12.0
    minute_turns = (MINUTES + SECONDS / 60.0) / 60.0
    second_turns = SECONDS / 60.0

    # Hour and minute hands, each with a short tail behind the hub.
    _line(d, _angle_point(c, c, face * 0.12, hour_turns + 0.5),
          _angle_point(c, c, face * 0.52, hour_turns), max(1.6 * px, s * 0.075), HOUR_HAND)
    _line(d, _angle_point(c, c, face * 0.12, minute_turns + 0.5),
          _angle_point(c, c, face * 0.78, minute_turns), max(1.3 * px, s * 0.05), MINUTE_HAND)
    if size >= 48:  # below that it would only blur the face
        _line(d, _angle_point(c, c, face * 0.2, second_turns + 0.5),
              _angle_point(c, c, face * 0.82, second_turns), max(0.8 * px, s * 0.018),
              SECOND_HAND)
    _circle(d, c, c, max(1.2 * px, s * 0.055), HUB)

    return img.resize((size, size), Image.BOX)


# ---------------------------------------------------------------------------------------------
# ICO writing


def _row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def _and_mask(transparent, width, height):
    """1-bit mask, bottom-up rows padded to 32 bits; bit set = transparent pixel."""
    stride = _row_stride(width, 1)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if transparent[y * width + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _bitmap_header(width, height, bits, image_bytes, colours_used):
    # BITMAPINFOHEADER; an icon's height counts the XOR image and the AND mask together.
    return struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, image_bytes, 0, 0,
                       colours_used, 0)


def dib_32bpp(img):
    w, h = img.size
    pixels = list(img.getdata())
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = pixels[y * w + x]
            xor += bytes((b, g, r, a))
    mask = _and_mask([p[3] == 0 for p in pixels], w, h)
    return _bitmap_header(w, h, 32, len(xor) + len(mask), 0) + bytes(xor) + mask


def dib_8bpp(img):
    """Palettised image: opaque-enough pixels are quantised to 256 colours, the rest masked."""
    w, h = img.size
    rgba = list(img.getdata())
    transparent = [p[3] < 128 for p in rgba]

    # Edge pixels that stay visible are blended over a light grey, a fair guess at a tray or
    # desktop background; masked pixels get the face colour so they do not pull the palette.
    flat = Image.new("RGB", (w, h))
    bg = (200, 200, 200)
    flat_pixels = []
    for p, t in zip(rgba, transparent):
        if t:
            flat_pixels.append(FACE[:3])
        else:
            a = p[3] / 255.0
            flat_pixels.append(tuple(int(round(p[i] * a + bg[i] * (1.0 - a))) for i in range(3)))
    flat.putdata(flat_pixels)

    quantised = flat.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantised.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    indices = list(quantised.getdata())

    # Index 0 is black in most icon editors' view of masked pixels; masked pixels point at a
    # palette slot holding black so the XOR image shows nothing through the mask.
    black = None
    for i in range(256):
        if palette[3 * i: 3 * i + 3] == [0, 0, 0]:
            black = i
            break
    if black is None:
        used = set(indices[i] for i in range(w * h) if not transparent[i])
        free = [i for i in range(256) if i not in used]
        black = free[-1] if free else 0
        palette[3 * black: 3 * black + 3] = [0, 0, 0]

    rgbquads = bytearray()
    for i in range(256):
        r, g, b = palette[3 * i: 3 * i + 3]
        rgbquads += bytes((b, g, r, 0))

    stride = _row_stride(w, 8)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            k = y * w + x
            row[x] = black if transparent[k] else indices[k]
        xor += row
    mask = _and_mask(transparent, w, h)
    return _bitmap_header(w, h, 8, len(xor) + len(mask), 256) + bytes(rgbquads) + bytes(xor) + mask


def png_bytes(img):
    buffer = io.BytesIO()
    img.save(buffer, "PNG", optimize=True)
    return buffer.getvalue()


def write_ico(path, entries):
    """entries: list of (width, height, bits, dib bytes)."""
    header = struct.pack("<HHH", 0, 1, len(entries))
    offset = len(header) + 16 * len(entries)
    directory = bytearray()
    data = bytearray()
    for w, h, bits, dib in entries:
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bits, len(dib),
                                 offset + len(data))
        data += dib
    with open(path, "wb") as f:
        f.write(header + bytes(directory) + bytes(data))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    res = os.path.normpath(res)
    icons = os.path.join(res, "icons")
    os.makedirs(icons, exist_ok=True)

    images = {size: render(size)
              for size in set(PNG_SIZES) | set(ICO_SIZES_PNG) | set(ICO_SIZES_32BPP)}

    entries = [(48, 48, 8, dib_8bpp(images[48]))]
    entries += [(n, n, 32, png_bytes(images[n])) for n in ICO_SIZES_PNG]
    entries += [(n, n, 32, dib_32bpp(images[n])) for n in ICO_SIZES_32BPP]
    ico_path = os.path.join(res, "horalia.ico")
    write_ico(ico_path, entries)

    for n in PNG_SIZES:
        images[n].save(os.path.join(icons, "horalia-%d.png" % n), optimize=True)

    print("make-icon: wrote %s (%d images) and %d PNGs in %s"
          % (ico_path, len(entries), len(PNG_SIZES), icons))


if __name__ == "__main__":
    main()
