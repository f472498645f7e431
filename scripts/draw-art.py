#!/usr/bin/python3
"""Draws every picture of the game and writes it as a 16-colour BMP under assets/.

The BMP files are the pictures' source of truth: the build turns each one into a
compiled-in image block, and anyone may touch them up in a paint program. This
script is how they were first drawn; running it again overwrites them with the
same bytes, so hand edits should either be made here or not be followed by a run.

Run it with Debian's interpreter, which has PIL (python3-pil) and can reach the
fonts from fonts-noto-color-emoji and fonts-dejavu-core:

    /usr/bin/python3 scripts/draw-art.py [--preview DIR]

With --preview it also writes PNG contact sheets (1x and 4x) of everything it drew.
"""

import argparse
import math
import os
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("PIL is missing: apt-get install python3-pil and run with /usr/bin/python3")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GAME_DIR = os.path.join(ROOT, "assets", "game")
CONTROLS_DIR = os.path.join(ROOT, "assets", "controls")

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
# The colour emoji font is a bitmap font with a single strike; 109 selects it.
EMOJI_SIZE = 109
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

OPEN_HAND = "\u270b"
FIST = "\u270a"
V_SIGN = "\u270c"

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
YELLOW = (255, 224, 0)
RED = (220, 20, 20)
DARK_RED = (128, 0, 0)
SHADOW_RED = (104, 0, 0)

# Lettering is drawn this many times larger and then averaged down, which gives
# smoother edges than the rasteriser's own anti-aliasing with a thick stroke.
SUPERSAMPLE = 4

PALETTE_SIZE = 16


# ---------------------------------------------------------------------------
# 4-bit BMP output

def write_bmp4(path, palette, rows):
    """Writes a 4-bit BI_RGB bitmap.

    palette holds at most 16 (red, green, blue) entries and is padded with black;
    rows lists the picture's rows top-down as palette indices.
    """
    height = len(rows)
    width = len(rows[0])
    if len(palette) > PALETTE_SIZE:
        raise ValueError("%s: %d colours do not fit in 4 bits" % (path, len(palette)))
    palette = list(palette) + [BLACK] * (PALETTE_SIZE - len(palette))

    row_bytes = (width + 1) // 2
    stride = (row_bytes + 3) // 4 * 4
    data = bytearray()
    for row in reversed(rows):
        if len(row) != width:
            raise ValueError("%s: ragged rows" % path)
        packed = bytearray(stride)
        for x, index in enumerate(row):
            if not 0 <= index < PALETTE_SIZE:
                raise ValueError("%s: index %d out of range" % (path, index))
            if x % 2 == 0:
                packed[x // 2] |= index << 4
            else:
                packed[x // 2] |= index
        data += packed

    offset = 14 + 40 + 4 * PALETTE_SIZE
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    # 2835 pixels per metre is 72 dpi, what paint programs expect to see.
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data),
                              2835, 2835, PALETTE_SIZE, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)

    temporary = path + ".tmp"
    with open(temporary, "wb") as out:
        out.write(file_header + info_header + colours + data)
    os.replace(temporary, path)


# ---------------------------------------------------------------------------
# Colour reduction

def colour_distance(a, b):
    # Weighted by how strongly the eye responds to each primary (green most,
    # blue least), so the nearest entry is also the one that looks nearest.
    dr, dg, db = a[0] - b[0], a[1] - b[1], a[2] - b[2]
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db


def luminance(colour):
    r, g, b = colour
    return 299 * r + 587 * g + 114 * b


def quantise(image):
    """Reduces an RGB picture to at most 16 colours with black kept exact.

    Answers (palette, rows). Pure black stays palette entry 0, since black is the
    transparent colour wherever a picture is drawn keyed; the other entries are
    chosen by median cut over the non-black pixels and sorted by brightness so the
    palette reads sensibly in a paint program.
    """
    width, height = image.size
    pixels = list(image.getdata())
    others = [p for p in pixels if p != BLACK]
    distinct = sorted(set(others))

    if len(distinct) < PALETTE_SIZE:
        chosen = distinct
    else:
        sample = Image.new("RGB", (len(others), 1))
        sample.putdata(others)
        reduced = sample.quantize(colors=PALETTE_SIZE - 1,
                                  method=Image.Quantize.MEDIANCUT,
                                  dither=Image.Dither.NONE)
        flat = reduced.getpalette()[:3 * (PALETTE_SIZE - 1)]
        chosen = sorted({tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)} - {BLACK})

    palette = [BLACK] + sorted(chosen, key=lambda c: (luminance(c), c))
    nearest = {}
    for colour in set(pixels):
        nearest[colour] = min(range(len(palette)),
                              key=lambda i: (colour_distance(colour, palette[i]), i))
    rows = [[nearest[pixels[y * width + x]] for x in range(width)] for y in range(height)]
    return palette, rows


def indexed_image(palette, rows):
    """Turns (palette, rows) back into an RGB picture, for previews."""
    image = Image.new("RGB", (len(rows[0]), len(rows)))
    image.putdata([palette[i] for row in rows for i in row])
    return image


# ---------------------------------------------------------------------------
# Drawing helpers

def emoji(character):
    """The colour emoji on a transparent background, cropped to its ink."""
    font = ImageFont.truetype(EMOJI_FONT, EMOJI_SIZE)
    canvas = Image.new("RGBA", (160, 160), (0, 0, 0, 0))
    ImageDraw.Draw(canvas).text((0, 0), character, font=font, embedded_color=True)
    return canvas.crop(canvas.getbbox())


def scaled(image, factor):
    width = max(1, round(image.width * factor))
    height = max(1, round(image.height * factor))
    return image.resize((width, height), Image.Resampling.LANCZOS)


def on_black(layer):
    """Flattens an RGBA layer onto opaque black."""
    base = Image.new("RGBA", layer.size, BLACK + (255,))
    base.alpha_composite(layer)
    return base.convert("RGB")


def lettering(text, size, fill, stroke_width=0, stroke_fill=None, stretch=1.0):
    """Bold text drawn large and averaged down, on a transparent background.

    size, stroke_width are in final pixels; stretch scales the height only, for
    lettering taller than the font's own proportions.
    """
    font = ImageFont.truetype(BOLD_FONT, round(size * SUPERSAMPLE))
    stroke = round(stroke_width * SUPERSAMPLE)
    left, top, right, bottom = font.getbbox(text, stroke_width=stroke)
    # The font's box follows advance widths, not ink ("1" has room on its left),
    # so draw with room to spare and crop to what was actually inked.
    pad = size * SUPERSAMPLE // 2
    canvas = Image.new("RGBA", (right - left + 2 * pad, bottom - top + 2 * pad), (0, 0, 0, 0))
    ImageDraw.Draw(canvas).text((pad - left, pad - top), text, font=font, fill=fill,
                                stroke_width=stroke, stroke_fill=stroke_fill)
    canvas = canvas.crop(canvas.getbbox())
    width = max(1, round(canvas.width / SUPERSAMPLE))
    height = max(1, round(canvas.height * stretch / SUPERSAMPLE))
    return canvas.resize((width, height), Image.Resampling.BOX)


def paste_centred(target, layer, centre_x, centre_y):
    x = round(centre_x - layer.width / 2)
    y = round(centre_y - layer.height / 2)
    if x < 0 or y < 0 or x + layer.width > target.width or y + layer.height > target.height:
        raise ValueError("a %d x %d layer at (%d, %d) does not fit in %d x %d"
                         % (layer.width, layer.height, x, y, target.width, target.height))
    target.alpha_composite(layer, (x, y))


def with_shadow(layer, colour, dx, dy):
    """The layer over a solid copy of its silhouette moved by (dx, dy)."""
    shadow = Image.new("RGBA", layer.size, colour + (255,))
    shadow.putalpha(layer.getchannel("A"))
    combined = Image.new("RGBA", (layer.width + dx, layer.height + dy), (0, 0, 0, 0))
    combined.alpha_composite(shadow, (dx, dy))
    combined.alpha_composite(layer)
    return combined


# ---------------------------------------------------------------------------
# The pictures

def draw_hands():
    """The six hands, 70 x 100, as (palette, rows).

    The player's three face left, towards the computer on the other side of the
    board; the computer's are the same pictures mirrored after colour reduction,
    so entry i and entry 5 - i match pixel for pixel.
    """
    width, height, margin = 70, 100, 2
    gestures = [emoji(c).rotate(90, expand=True) for c in (OPEN_HAND, FIST, V_SIGN)]
    # One scale for all three keeps a fist smaller than an open hand, as in life.
    factor = min(min((width - 2 * margin) / g.width, (height - 2 * margin) / g.height)
                 for g in gestures)
    player = []
    for gesture in gestures:
        layer = scaled(gesture, factor)
        canvas = Image.new("RGBA", (width, height), (0, 0, 0, 0))
        # The wrist sits at the player's edge so the hand reaches into the board.
        canvas.alpha_composite(layer, (width - margin - layer.width,
                                       (height - layer.height) // 2))
        player.append(quantise(on_black(canvas)))
    computer = [(palette, [row[::-1] for row in rows]) for palette, rows in player]
    return player + computer[::-1]


def draw_title(width=133, height=100):
    canvas = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    word = lettering("Brisgola", 26, RED, stroke_width=2, stroke_fill=YELLOW, stretch=1.9)
    paste_centred(canvas, with_shadow(word, SHADOW_RED, 2, 3), width / 2, height / 2)
    return on_black(canvas)


def draw_countdown(digit, width=133, height=100):
    big = SUPERSAMPLE
    canvas = Image.new("RGBA", (width * big, height * big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)
    centre_x, centre_y = width * big / 2, height * big / 2
    for radius, colour in ((47 * big, WHITE), (42 * big, DARK_RED)):
        draw.ellipse((centre_x - radius, centre_y - radius,
                      centre_x + radius, centre_y + radius), fill=colour)
    canvas = canvas.resize((width, height), Image.Resampling.BOX)
    glyph = with_shadow(lettering(str(digit), 62, YELLOW), (64, 0, 0), 2, 2)
    paste_centred(canvas, glyph, width / 2 + 1, height / 2 + 1)
    return on_black(canvas)


def draw_banner(lines, width=133, height=100):
    """Yellow capitals, one or two lines, filling the picture's width."""
    canvas = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    size = 40 if len(lines) > 1 else 60
    words = [with_shadow(lettering(line, size, YELLOW, stretch=1.15), SHADOW_RED, 2, 2)
             for line in lines]
    gap = 6
    total = sum(w.height for w in words) + gap * (len(words) - 1)
    y = (height - total) / 2
    for word in words:
        paste_centred(canvas, word, width / 2, y + word.height / 2)
        y += word.height + gap
    return on_black(canvas)


def draw_logo(width=163, height=50):
    """A fist with a V sign standing in front of it, then the name."""
    canvas = Image.new("RGBA", (width, height), (0, 0, 0, 0))
    hand_height = height - 6
    fist = emoji(FIST)
    fist = scaled(fist, hand_height / fist.height)
    v_sign = emoji(V_SIGN)
    v_sign = scaled(v_sign, hand_height / v_sign.height)
    canvas.alpha_composite(fist, (0, (height - fist.height) // 2))
    v_left = fist.width - 10
    v_top = (height - v_sign.height) // 2
    # Both hands are the same yellow; a black rim keeps the front one from
    # melting into the fist behind it.
    rim = Image.new("RGBA", v_sign.size, BLACK + (255,))
    rim.putalpha(v_sign.getchannel("A").filter(ImageFilter.MaxFilter(5)))
    canvas.alpha_composite(rim, (v_left, v_top))
    canvas.alpha_composite(v_sign, (v_left, v_top))
    word = lettering("Brisgola", 21, RED, stroke_width=1.5, stroke_fill=YELLOW, stretch=1.5)
    word = with_shadow(word, SHADOW_RED, 1, 2)
    text_left = v_left + v_sign.width + 1
    paste_centred(canvas, word, (text_left + width) / 2, height / 2)
    return on_black(canvas)


# The frame around the board: nine reds from near black to dark red.
BAR_REDS = [(0x20 + 12 * step, 0, 0) for step in range(9)]
HORIZONTAL_BAR = (519, 16)
VERTICAL_BAR = (19, 203)


def bar_level(distance, thickness):
    """Red step (0..8) at a distance in pixels from the bar's outer edge.

    The profile is a rounded tube: darkest on the outer edge, brightest a
    little outside the middle, then down again towards the board without
    going quite as dark as on the outside.
    """
    t = distance / (thickness - 1)
    peak = 0.4
    if t <= peak:
        shade = math.sin(math.pi / 2 * t / peak)
    else:
        shade = 0.12 + 0.88 * math.cos(math.pi / 2 * (t - peak) / (1 - peak))
    return max(0, min(8, round(shade * 8)))


def draw_bars():
    """Top, bottom, left, right bars as (palette, rows) with the nine-step reds.

    The side bars sit between the top and bottom bars, so the horizontal bars
    carry the corners: each end is mitred like a picture frame, the part outside
    the diagonal shaded as the side bar it meets.
    """
    long_side, thick = HORIZONTAL_BAR
    side_width, side_height = VERTICAL_BAR
    # Entry 0 stays black, unused, so step n is palette entry n + 1.
    palette = [BLACK] + BAR_REDS

    def horizontal(outer_at_top):
        rows = []
        for y in range(thick):
            from_outer = y if outer_at_top else thick - 1 - y
            row = []
            for x in range(long_side):
                level = bar_level(from_outer, thick)
                # Corner squares: measure both ways and let the nearer outer edge win.
                for from_side in (x, long_side - 1 - x):
                    if from_side < side_width and \
                            from_side / (side_width - 1) < from_outer / (thick - 1):
                        level = bar_level(from_side, side_width)
                row.append(level + 1)
            rows.append(row)
        return rows

    def vertical(outer_at_left):
        row = []
        for x in range(side_width):
            from_outer = x if outer_at_left else side_width - 1 - x
            row.append(bar_level(from_outer, side_width) + 1)
        return [list(row) for _ in range(side_height)]

    return {
        "bar_top": (palette, horizontal(True)),
        "bar_bottom": (palette, horizontal(False)),
        "bar_left": (palette, vertical(True)),
        "bar_right": (palette, vertical(False)),
    }


# ---------------------------------------------------------------------------
# Check-box and option-box marks, pixel for pixel

CHECK_PATTERN = """\
gggggggggggggggggggw
gdddddddddddddddddlw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiikkiilw
gdiiiiiiiiiiikkkiilw
gdiiikkiiiiikkkiiilw
gdiiikkkiiikkkiiiilw
gdiiiikkkikkkiiiiilw
gdiiiiikkkkkiiiiiilw
gdiiiiiikkkiiiiiiilw
gdiiiiiiikiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gdiiiiiiiiiiiiiiiilw
gllllllllllllllllllw
wwwwwwwwwwwwwwwwwwww
"""

OPTION_PATTERN = """\
....................
....................
.......gggggg.......
......ggddddgg......
.....gddiiiiddg.....
....gdiiiiiiiils....
...ggdiikkkkiilss...
...gdiikkkkkkiils...
...gdiikkkkkkiils...
...gdiikkkkkkiils...
...gdiikkkkkkiils...
...ggdiikkkkiilss...
....gdiiiiiiiils....
.....glliiiills.....
......ssllllss......
.......ssssss.......
....................
....................
....................
....................
"""

MARK_COLOURS = {
    ".": 0x000000,
    "g": 0x848484,
    "d": 0x424242,
    "l": 0xd6d6ce,
    "s": 0x9b9b9b,
    "w": 0xffffff,
}

GREY_FACE = 0x9b9b9b

# name: (pattern, interior colour, mark colour)
MARKS = {
    "check_checked_disabled": (CHECK_PATTERN, GREY_FACE, 0x424242),
    "check_checked": (CHECK_PATTERN, 0xffffff, 0x000000),
    "check_unchecked_disabled": (CHECK_PATTERN, GREY_FACE, GREY_FACE),
    "check_unchecked": (CHECK_PATTERN, 0xffffff, 0xffffff),
    "option_selected_disabled": (OPTION_PATTERN, GREY_FACE, 0x424242),
    # Not black: black is the transparent key when these are drawn.
    "option_selected": (OPTION_PATTERN, 0xffffff, 0x010101),
    "option_unselected_disabled": (OPTION_PATTERN, GREY_FACE, GREY_FACE),
    "option_unselected": (OPTION_PATTERN, 0xffffff, 0xffffff),
}


def rgb(value):
    return ((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff)


def draw_mark(pattern, interior, mark):
    colours = dict(MARK_COLOURS, i=interior, k=mark)
    lines = pattern.splitlines()
    used = sorted({rgb(colours[ch]) for line in lines for ch in line} - {BLACK},
                  key=lambda c: (luminance(c), c))
    palette = [BLACK] + used
    rows = [[palette.index(rgb(colours[ch])) for ch in line] for line in lines]
    return palette, rows


# ---------------------------------------------------------------------------

def contact_sheet(pictures, zoom):
    gap = 6 * zoom
    images = [indexed_image(p, r) for (_, p, r) in pictures]
    images = [im.resize((im.width * zoom, im.height * zoom), Image.Resampling.NEAREST)
              for im in images]
    # Lay the pictures out in rows no wider than the widest bar.
    limit = max(im.width for im in images)
    placed, x, y, row_height = [], gap, gap, 0
    for im in images:
        if x + im.width + gap > limit + 2 * gap and x > gap:
            x, y, row_height = gap, y + row_height + gap, 0
        placed.append((im, x, y))
        x += im.width + gap
        row_height = max(row_height, im.height)
    sheet = Image.new("RGB", (limit + 2 * gap, y + row_height + gap), (64, 96, 64))
    for im, px, py in placed:
        sheet.paste(im, (px, py))
    return sheet


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR",
                        help="also write PNG contact sheets of the pictures to DIR")
    args = parser.parse_args()

    for path in (EMOJI_FONT, BOLD_FONT):
        if not os.path.exists(path):
            sys.exit("missing font %s (apt-get install fonts-noto-color-emoji "
                     "fonts-dejavu-core)" % path)

    pictures = []  # (path, palette, rows)

    results = [draw_title()] + [draw_countdown(d) for d in (3, 2, 1)] + \
        [draw_banner(lines) for lines in (["YOU", "WON"], ["YOU", "LOST"], ["TIE"])]
    for index, image in enumerate(results):
        pictures.append((os.path.join(GAME_DIR, "result%d.bmp" % index),) + quantise(image))

    for index, (palette, rows) in enumerate(draw_hands()):
        pictures.append((os.path.join(GAME_DIR, "hand%d.bmp" % index), palette, rows))

    for name, (palette, rows) in draw_bars().items():
        pictures.append((os.path.join(GAME_DIR, name + ".bmp"), palette, rows))

    pictures.append((os.path.join(GAME_DIR, "logo.bmp"),) + quantise(draw_logo()))

    for name, (pattern, interior, mark) in MARKS.items():
        pictures.append((os.path.join(CONTROLS_DIR, name + ".bmp"),)
                        + draw_mark(pattern, interior, mark))

    for directory in (GAME_DIR, CONTROLS_DIR):
        os.makedirs(directory, exist_ok=True)
    for path, palette, rows in pictures:
        write_bmp4(path, palette, rows)
        print("wrote %s (%d x %d)" % (os.path.relpath(path, ROOT), len(rows[0]), len(rows)))

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for zoom in (1, 4):
            sheet = contact_sheet(pictures, zoom)
            target = os.path.join(args.preview, "contact-%dx.png" % zoom)
            sheet.save(target)
            print("wrote %s" % target)


if __name__ == "__main__":
    main()
