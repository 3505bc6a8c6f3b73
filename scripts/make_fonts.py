#!/usr/bin/python3
"""Builds the program's fonts from Debian's fonts-oxygen (SIL Open Font License 1.1).

The front end names the letter family "KVL Oxygen" and the number family
"Oxygen Mono". The sans faces are renamed to the first; the mono face keeps
its own name. Light is the regular outlines under the Light style name, as the
package has no light face.

usage: make_fonts.py OUTPUT_FOLDER
"""
import shutil
import sys
from pathlib import Path

from fontTools.ttLib import TTFont

SOURCE = Path("/usr/share/fonts/truetype/oxygen")
FAMILY = "KVL Oxygen"


def rename(source: Path, target: Path, style: str, weight: int) -> None:
    font = TTFont(str(source))
    names = font["name"]
    full = f"{FAMILY} {style}" if style != "Regular" else FAMILY
    postscript = f"KVL-Oxygen-{style}"
    for record in list(names.names):
        if record.nameID in (1, 16):
            names.setName(FAMILY, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (2, 17):
            names.setName(style, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID == 4:
            names.setName(full, record.nameID, record.platformID, record.platEncID, record.langID)
        elif record.nameID in (3, 6):
            names.setName(postscript, record.nameID, record.platformID, record.platEncID, record.langID)
    font["OS/2"].usWeightClass = weight
    font.save(str(target))


def main() -> int:
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    rename(SOURCE / "Oxygen-Sans.ttf", out / "KVL-Oxygen-Regular.ttf", "Regular", 400)
    rename(SOURCE / "Oxygen-Sans-Bold.ttf", out / "KVL-Oxygen-Bold.ttf", "Bold", 700)
    rename(SOURCE / "Oxygen-Sans.ttf", out / "KVL-Oxygen-Light.ttf", "Light", 300)
    shutil.copyfile(SOURCE / "OxygenMono-Regular.ttf", out / "OxygenMono-Regular.ttf")
    (out / "fonts.qrc").write_text(
        "<RCC>\n    <qresource prefix=\"/Resources/Fonts\">\n"
        + "".join(f"        <file>{name}</file>\n" for name in
                  ("KVL-Oxygen-Regular.ttf", "KVL-Oxygen-Bold.ttf", "KVL-Oxygen-Light.ttf",
                   "OxygenMono-Regular.ttf"))
        + "    </qresource>\n</RCC>\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
