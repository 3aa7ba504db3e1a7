# Compares Zelvane's picture of a model with Blender's rendering of the
# converter's glTF output from the same view (blender_picture.py): the
# silhouettes (alpha at least 128) must overlap with an intersection over
# union of at least 0.95, and where both are opaque and Blender's pixel has a
# hue, the hues must lie within 20 degrees in at least 80 % of the pixels.
#   compare_with_blender.py CONVERTER BLENDER MODEL TEXTURE_FOLDER
# CONVERTER is zelvane, which writes the glTF output and, with --preview, its
# own picture in one run; run by the system's Python, which has Pillow.
import colorsys
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

SIDE = 256
LEAST_OVERLAP = 0.95
HUE_TOLERANCE = 20.0
LEAST_HUE_SHARE = 0.80
LEAST_SATURATION = 0.25  # below it a pixel is grey, without a hue to compare
LEAST_VALUE = 0.1


def run(arguments, folder):
    result = subprocess.run(arguments, cwd=folder, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(arguments)} failed with status {result.returncode}:\n{result.stdout}\n{result.stderr}")


def draw_both(converter, blender, model, textures, folder):
    local = os.path.join(folder, os.path.basename(model))
    shutil.copyfile(model, local)
    run([converter, local, "--glb", "--texture-dir", textures, "--preview", "--preview-size", str(SIDE)], folder)
    base = os.path.splitext(local)[0]
    glb = base + ".glb"
    os.replace(base + ".preview.png", os.path.join(folder, "zelvane.png"))
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "blender_picture.py")
    run([blender, "-b", "--factory-startup", "--python", script, "--", glb, "blender.png", str(SIDE)], folder)
    return (Image.open(os.path.join(folder, name)).convert("RGBA") for name in ("zelvane.png", "blender.png"))


def silhouette_overlap(ours, theirs):
    inside = [(a[3] >= 128, b[3] >= 128) for a, b in zip(ours, theirs)]
    union = sum(1 for a, b in inside if a or b)
    return sum(1 for a, b in inside if a and b) / union if union else 0.0


def hue_of(pixel):
    hue, saturation, value = colorsys.rgb_to_hsv(*(channel / 255 for channel in pixel[:3]))
    return hue * 360, saturation >= LEAST_SATURATION and value >= LEAST_VALUE


def hue_share(ours, theirs):
    compared = close = 0
    for a, b in zip(ours, theirs):
        their_hue, coloured = hue_of(b)
        if a[3] < 255 or b[3] < 255 or not coloured:
            continue
        difference = abs(hue_of(a)[0] - their_hue)
        compared += 1
        close += 1 if min(difference, 360 - difference) <= HUE_TOLERANCE else 0
    return close / compared if compared else 0.0, compared


def main():
    converter, blender, model, textures = (os.path.abspath(argument) for argument in sys.argv[1:5])
    with tempfile.TemporaryDirectory(prefix="zelvane-blender-") as folder:
        ours, theirs = (list(image.getdata()) for image in draw_both(converter, blender, model, textures, folder))
    overlap = silhouette_overlap(ours, theirs)
    share, compared = hue_share(ours, theirs)
    print(f"silhouette intersection over union: {overlap:.4f} (at least {LEAST_OVERLAP})")
    print(f"hues within {HUE_TOLERANCE:g} degrees: {share:.4f} of {compared} coloured pixels (at least {LEAST_HUE_SHARE})")
    if overlap < LEAST_OVERLAP or share < LEAST_HUE_SHARE:
        sys.exit("the pictures differ")


main()
