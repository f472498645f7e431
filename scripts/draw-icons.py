#!/usr/bin/python3
"""Makes the desktop icons (assets/icons/*.png) from the game's logo (assets/game/logo.bmp).

The logo is 163 x 50: a fist with a V sign in front of it, then the name. An icon is square,
so it takes the logo apart: the two hands alone at 48 and 64 pixels, where the name would be
too small to read, and the hands above the name at 128 and 256 pixels.

The logo is drawn on black, which the game treats as transparent. The icons keep a one-pixel
black rim around the drawing (the rim the logo shows on its own black) and make the rest
transparent, so the dark gap that parts the V sign from the fist stays dark on a light desktop
too, instead of letting the desktop show through between the hands.

Run it with Debian's interpreter, which has PIL (python3-pil):

    /usr/bin/python3 scripts/draw-icons.py [--preview FILE]

It gives the same bytes on every run. With --preview it also writes one PNG that shows every
icon on a light and on a dark background.
"""

import argparse
import os
import sys

try:
    from PIL import Image, ImageFilter
except ImportError:
    sys.exit("PIL is missing: apt-get install python3-pil and run with /usr/bin/python3")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LOGO = os.path.join(ROOT, "assets", "game", "logo.bmp")
ICON_DIR = os.path.join(ROOT, "assets", "icons")
ICON_NAME = "org.brisgola.Brisgola"

# Sizes that show the name under the hands; smaller ones show the hands alone.
SIZES = (48, 64, 128, 256)
NAME_FROM_SIZE = 128
# Share of the square's side that the drawing spans, leaving the margin icon themes expect.
FILL = 0.94
# Share of the side that the hands take when the name is under them.
HANDS_WITH_NAME = 0.70
# Gap between the hands and the name, as a share of the side.
NAME_GAP = 0.02
# The logo's hands end before this column; the name starts after it.
HANDS_END = 64
# Pixel art is enlarged this many times without smoothing before it is reduced to the icon's
# size, so reduction blends whole logo pixels and the edges stay crisp.
ENLARGE = 8


def logo_parts():
    """The hands and the name, each as RGBA: drawing, a one-pixel black rim, clear elsewhere."""
    logo = Image.open(LOGO)
    if logo.mode != "P" or logo.size != (163, 50):
        sys.exit(f"{LOGO}: expected a 163 x 50 palette picture, got {logo.mode} {logo.size}")
    return part(logo, 0, HANDS_END), part(logo, HANDS_END, logo.width)


def part(logo, left, right):
    """The drawing between two columns with its rim, cropped to what they cover.

    The rim is made after the cut, so that neither part carries a sliver of the other's rim.
    """
    piece = logo.crop((left, 0, right, logo.height))
    # Index 0 is the logo's black background; every other index is drawing.
    drawing = Image.frombytes("L", piece.size, bytes(0 if p == 0 else 255 for p in piece.tobytes()))
    # A clear border first, so the rim also grows where the drawing touches the cut.
    bordered = Image.new("L", (piece.width + 2, piece.height + 2), 0)
    bordered.paste(drawing, (1, 1))
    picture = Image.new("RGBA", bordered.size, (0, 0, 0, 0))
    picture.paste(piece.convert("RGBA"), (1, 1))
    picture.putalpha(bordered.filter(ImageFilter.MaxFilter(3)))
    return picture.crop(picture.getbbox())


def scaled(piece, longest_side):
    """The piece with its longer side reduced (or enlarged) to the given length."""
    factor = longest_side / max(piece.size)
    size = (max(1, round(piece.width * factor)), max(1, round(piece.height * factor)))
    large = piece.resize((piece.width * ENLARGE, piece.height * ENLARGE), Image.NEAREST)
    return large.resize(size, Image.LANCZOS)


def icon(hands, name, size):
    canvas = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    if size < NAME_FROM_SIZE:
        shown = scaled(hands, size * FILL)
        canvas.alpha_composite(shown, ((size - shown.width) // 2, (size - shown.height) // 2))
        return canvas
    top_part = scaled(hands, size * HANDS_WITH_NAME)
    bottom_part = scaled(name, size * FILL)
    gap = round(size * NAME_GAP)
    top = (size - top_part.height - gap - bottom_part.height) // 2
    canvas.alpha_composite(top_part, ((size - top_part.width) // 2, top))
    canvas.alpha_composite(
        bottom_part, ((size - bottom_part.width) // 2, top + top_part.height + gap)
    )
    return canvas


def preview(icons, path):
    """Every icon on a light and on a dark background, side by side."""
    margin = 8
    width = sum(image.width + margin for image in icons) + margin
    height = max(image.height for image in icons) + 2 * margin
    sheet = Image.new("RGBA", (width, 2 * height), (240, 240, 240, 255))
    sheet.paste((48, 48, 56, 255), (0, height, width, 2 * height))
    x = margin
    for image in icons:
        sheet.alpha_composite(image, (x, margin))
        sheet.alpha_composite(image, (x, height + margin))
        x += image.width + margin
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", metavar="FILE", help="also write a contact sheet here")
    options = parser.parse_args()

    hands, name = logo_parts()
    os.makedirs(ICON_DIR, exist_ok=True)
    icons = []
    for size in SIZES:
        image = icon(hands, name, size)
        image.save(os.path.join(ICON_DIR, f"{ICON_NAME}-{size}.png"), optimize=True)
        icons.append(image)
    if options.preview:
        preview(icons, options.preview)


if __name__ == "__main__":
    main()
