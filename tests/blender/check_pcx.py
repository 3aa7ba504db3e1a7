"""Reads the PCX files that the add-on's export wrote with Pillow, as the
game's other tools would, and compares their pixels with the sample
house's own textures; run by run_tests.sh with Debian's python3 (and
python3-pil):

    python3 check_pcx.py EXPORTED ORIGINALS

EXPORTED is the folder the house was exported to, ORIGINALS the one with
its textures. Each exported file must be an 8-bit paletted PCX image of
the same size and colours, pixel for pixel, as the texture of its name.
The exit status is 1 when one is not.
"""

import os
import sys

from PIL import Image

exported, originals = sys.argv[1:]
names = sorted(name for name in os.listdir(originals) if name.lower().endswith(".pcx"))
written = sorted(name for name in os.listdir(exported) if name.lower().endswith(".pcx"))
failures = [] if written == names else ["PCX files written: %s, expected %s" % (written, names)]
for name in names:
    if name not in written:
        continue
    with Image.open(os.path.join(exported, name)) as image, Image.open(os.path.join(originals, name)) as original:
        print("    Pillow reads the exported %s: %s, %s, %dx%d" % (name, image.format, image.mode, *image.size))
        if (image.format, image.mode) != ("PCX", "P"):
            failures.append("%s is %s %s, not an 8-bit paletted PCX image" % (name, image.format, image.mode))
        elif image.size != original.size or image.convert("RGB").tobytes() != original.convert("RGB").tobytes():
            failures.append("%s does not show the pixels of the texture it came from" % name)
for failure in failures:
    print("    FAIL " + failure)
print("%s check_pcx" % ("FAIL" if failures else "PASS"))
sys.exit(1 if failures else 0)
