"""Installs the add-on's zip into this headless Blender and imports and
exports models through it; run by run_tests.sh:

    blender -b --factory-startup --python test_addon.py -- KIND ZIP VERSION EXAMPLES WORK

KIND says how the zip installs: "legacy", the add-on of Blender 3.4 to 4.1,
or "extension", the package of Blender 4.2 and later. Every case after the
install is the same for both.

In background mode an operator's ERROR report raises RuntimeError in the
caller, and every report is printed on sys.stdout: that is how the reports
are read here. The exit status is 1 when any check failed.
"""

import contextlib
import hashlib
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import traceback
import warnings

import addon_utils
import bpy

KIND, ZIP, VERSION, EXAMPLES, WORK = sys.argv[sys.argv.index("--") + 1:]
TEXTURES = ("brick.pcx", "roof_tiles.pcx", "planks.pcx", "window.pcx")
KINDS = ("objects", "meshes", "materials", "images")
failures = []
case_name = ["-"]
glb = {}  # what the converter itself puts in house.glb


def check(condition, what):
    if not condition:
        failures.append("%s: %s" % (case_name[0], what))
        print("    FAIL " + what)


def clear_data():
    for kind in KINDS:
        for block in list(getattr(bpy.data, kind)):
            getattr(bpy.data, kind).remove(block)


def run_case(case):
    case_name[0] = case.__name__
    before = len(failures)
    clear_data()
    try:
        case()
    except Exception:
        failures.append("%s raised:\n%s" % (case.__name__, traceback.format_exc()))
    print("%s %s" % ("PASS" if len(failures) == before else "FAIL", case.__name__))


def run_operator(operator, **properties):
    """(result or None when an ERROR report raised, the error, the printed reports)"""
    printed = io.StringIO()
    result, error = None, ""
    with contextlib.redirect_stdout(printed):
        try:
            result = operator(**properties)
        except RuntimeError as raised:
            error = str(raised)
    return result, error, printed.getvalue()


def run_import(**properties):
    return run_operator(bpy.ops.import_scene.mag5, **properties)


def run_export(**properties):
    return run_operator(bpy.ops.export_scene.mag5, **properties)


def warnings_of(printed):
    return [line[len("Warning: "):] for line in printed.splitlines() if line.startswith("Warning: ")]


def nothing_imported():
    return all(len(getattr(bpy.data, kind)) == 0 for kind in KINDS)


def object_names():
    return sorted(obj.name for obj in bpy.data.objects)


def model_folder(name, textures=()):
    folder = os.path.join(WORK, name)
    os.makedirs(folder)
    for file in ("house.mag",) + textures:
        shutil.copy(os.path.join(EXAMPLES, file), folder)
    return folder


def install_legacy():
    """Install... in the add-ons' preferences, then the tick: the module is
    the zip's folder, among the user's scripts."""
    check(bpy.ops.preferences.addon_install(filepath=ZIP) == {'FINISHED'}, "addon_install failed")
    check(bpy.ops.preferences.addon_enable(module="io_scene_mag5") == {'FINISHED'}, "addon_enable failed")
    return "io_scene_mag5", bpy.utils.user_resource('SCRIPTS', path="addons")


def install_extension():
    """Install from Disk, which enables it too: the module is the manifest's
    id in the package of the user's own repository."""
    result = bpy.ops.extensions.package_install_files(filepath=ZIP, repo="user_default", enable_on_install=True)
    check(result == {'FINISHED'}, "package_install_files gave %s" % result)
    return "bl_ext.user_default.zelvane_mag5", bpy.utils.user_resource('EXTENSIONS', path="user_default")


INSTALLERS = {"legacy": install_legacy, "extension": install_extension}
MODULE = ""  # the installed add-on's module, once installed


def addon_dir():
    return os.path.dirname(sys.modules[MODULE].__file__)


def bundled_converter():
    return os.path.join(addon_dir(), "bin", "linux-x86_64", "zelvane")


def set_converter(path):
    bpy.context.preferences.addons[MODULE].preferences.converter = path


def logging_converter(folder, name):
    """A converter that writes its arguments to folder/arguments and runs the bundled one."""
    os.makedirs(folder, exist_ok=True)
    real = os.path.join(folder, "real-zelvane")
    shutil.copy(bundled_converter(), real)
    os.chmod(real, 0o755)
    path = os.path.join(folder, name)
    with open(path, "w") as file:
        file.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >'%s/arguments'\nexec '%s' \"$@\"\n" % (folder, real))
    os.chmod(path, 0o755)
    return path


def read_glb(path):
    with open(path, "rb") as file:
        data = file.read()
    length = struct.unpack_from("<I", data, 12)[0]
    document = json.loads(data[20:20 + length])
    binary = data[20 + length + 8:]
    images = {}
    for image in document["images"]:
        offset = document["bufferViews"][image["bufferView"]].get("byteOffset", 0)
        images[image["name"]] = struct.unpack(">II", binary[offset + 16:offset + 24])  # PNG's IHDR
    return {
        "triangles": sum(document["accessors"][primitive["indices"]]["count"] // 3
                         for primitive in document["meshes"][0]["primitives"]),
        "materials": len(document["materials"]),
        "textured": sum("baseColorTexture" in material["pbrMetallicRoughness"] for material in document["materials"]),
        "images": images,
    }


def check_house(obj, name, textured=True):
    check(obj.name == name and obj.type == 'MESH', "object %s (%s), expected the mesh %s" % (obj.name, obj.type, name))
    mesh = obj.data
    triangles = sum(len(polygon.vertices) - 2 for polygon in mesh.polygons)
    check(triangles == glb["triangles"] == len(mesh.polygons),
          "%s: %d triangles in %d faces, the glb has %d" % (name, triangles, len(mesh.polygons), glb["triangles"]))
    check(len(mesh.materials) == glb["materials"], "%s: %d materials" % (name, len(mesh.materials)))
    with_image = sum(any(node.type == 'TEX_IMAGE' and node.image for node in material.node_tree.nodes)
                     for material in mesh.materials)
    check(with_image == (glb["textured"] if textured else 0), "%s: %d materials show an image" % (name, with_image))


def images_by_texture(obj):
    """{texture file name: the image its material shows} for one object; the
    converter names a material after its texture file and its colour."""
    found = {}
    for material in obj.data.materials:
        for node in material.node_tree.nodes:
            if node.type == 'TEX_IMAGE' and node.image:
                found[material.name.split(" #")[0]] = node.image
    return found


def numpy_bool(numpy):
    """numpy.bool, or None where numpy lacks it."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return getattr(numpy, "bool", None)


def check_images():
    """The glb's images, packed, with their pixels, no path into a temporary folder."""
    check(sorted(image.name for image in bpy.data.images) == sorted(glb["images"]),
          "images %s" % [image.name for image in bpy.data.images])
    for image in bpy.data.images:
        check(image.packed_file is not None, "image %s is not packed" % image.name)
        check(tempfile.gettempdir() not in bpy.path.abspath(image.filepath), "%s refers to %s" % (image.name, image.filepath))
        check(tuple(image.size) == glb["images"].get(image.name), "image %s is %s" % (image.name, tuple(image.size)))
        check(len(set(image.pixels[:4096])) > 4, "image %s has no pixels of its own" % image.name)


# --------------------------------------------------------------------- cases

def test_install():
    global MODULE
    MODULE, folder = INSTALLERS[KIND]()
    check(MODULE in bpy.context.preferences.addons and MODULE in sys.modules, "%s is not enabled" % MODULE)
    check(os.path.dirname(addon_dir()) == folder, "installed in %s, not in %s" % (addon_dir(), folder))
    print("    %s, bundled converter executable after install: %s" % (MODULE, os.access(bundled_converter(), os.X_OK)))
    version = ".".join(map(str, addon_utils.module_bl_info(sys.modules[MODULE])["version"]))
    check(version == VERSION, "the add-on has version %s, the project %s" % (version, VERSION))
    reference = os.path.join(WORK, "reference")
    shutil.copytree(os.path.dirname(bundled_converter()), reference)
    os.chmod(os.path.join(reference, "zelvane"), 0o755)
    subprocess.run([os.path.join(reference, "zelvane"), os.path.join(EXAMPLES, "house.mag"), "--glb",
                    "--output-dir", reference], check=True, stdout=subprocess.DEVNULL)
    glb.update(read_glb(os.path.join(reference, "house.glb")))
    print("    the converter's house.glb: %(triangles)d triangles, %(materials)d materials, images %(images)s" % glb)
    check((glb["triangles"], glb["materials"], len(glb["images"])) == (470, 13, 4),
          "the converter's house.glb differs from the 470 triangles, 13 materials, 4 images expected")


def test_house_textured():
    folder = model_folder("house")
    temp_before = set(os.listdir(tempfile.gettempdir()))
    import numpy
    numpy_before = numpy_bool(numpy)
    start = time.monotonic()
    result, error, printed = run_import(filepath=os.path.join(folder, "house.mag"), texture_folders=EXAMPLES)
    print("    import of the house through the add-on: %.2f s" % (time.monotonic() - start))
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    check(not warnings_of(printed), "warnings %s" % warnings_of(printed))
    check(object_names() == ["house"], "objects %s" % object_names())
    if object_names() == ["house"]:
        check_house(bpy.data.objects[0], "house")
        check(bpy.data.objects[0].select_get(), "house is not selected")
    check_images()
    check(os.listdir(folder) == ["house.mag"], "beside the model: %s" % os.listdir(folder))
    check(set(os.listdir(tempfile.gettempdir())) == temp_before, "the temporary folder is left")
    check(numpy_bool(numpy) is numpy_before, "numpy.bool left changed")


def test_two_models_at_once():
    folder = model_folder("two", TEXTURES)
    shutil.copy(os.path.join(folder, "house.mag"), os.path.join(folder, "SHED.MAG"))
    result, error, _ = run_import(directory=folder, files=[{"name": "house.mag"}, {"name": "SHED.MAG"}])
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    check(object_names() == ["SHED", "house"], "objects %s" % object_names())
    for obj in bpy.data.objects:
        check_house(obj, obj.name)
    check_images()
    check(len(os.listdir(folder)) == 6, "beside the models: %s" % os.listdir(folder))


def test_shared_images():
    """Models imported together share one image per texture file, told by
    name and bytes: a different file of the same name is an image of its
    own (even one with another texture's bytes), and so is an image changed
    in Blender since it was imported."""
    town = model_folder("town", TEXTURES)
    names = ["house.mag"] + ["house%d.mag" % n for n in range(1, 8)]
    for name in names[1:]:
        shutil.copy(os.path.join(town, "house.mag"), os.path.join(town, name))
    result, error, _ = run_import(directory=town, files=[{"name": name} for name in names])
    check(result == {'FINISHED'} and len(bpy.data.objects) == len(names), "result %s, error %r" % (result, error))
    check_images()
    shared = images_by_texture(bpy.data.objects["house"])
    check(sorted(shared) == sorted(TEXTURES), "house's textures %s" % sorted(shared))
    for obj in bpy.data.objects:
        check(images_by_texture(obj) == shared, "%s does not use the house's images" % obj.name)

    # Another folder, whose brick.pcx is another picture, in a later import.
    other = model_folder("other", TEXTURES)
    os.rename(os.path.join(other, "house.mag"), os.path.join(other, "barn.mag"))
    shutil.copy(os.path.join(EXAMPLES, "planks.pcx"), os.path.join(other, "brick.pcx"))
    result, error, _ = run_import(directory=other, files=[{"name": "barn.mag"}])
    check(result == {'FINISHED'} and "barn" in bpy.data.objects, "result %s, error %r" % (result, error))
    barn = images_by_texture(bpy.data.objects["barn"])
    check(len(bpy.data.images) == 5, "images %s" % sorted(image.name for image in bpy.data.images))
    check(barn["brick.pcx"] not in shared.values(), "the barn's brick.pcx is the house's")
    check(list(barn["brick.pcx"].pixels[:4096]) == list(shared["planks.pcx"].pixels[:4096]),
          "the barn's brick.pcx does not show its own file")
    for texture in TEXTURES[1:]:
        check(barn[texture] == shared[texture], "the barn's %s is not the house's" % texture)

    # An image painted on since is left alone.
    window = shared["window.pcx"]
    window.pixels[0] = 1.0 - window.pixels[0]
    check(window.is_dirty, "a changed image is not marked as changed")
    earlier = bpy.data.objects["house1"]
    result, error, _ = run_import(directory=town, files=[{"name": "house1.mag"}])
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    check(earlier.name == earlier.data.name == "house1", "the earlier house1 was renamed %s" % earlier.name)
    check("house1.001" in bpy.data.objects and "house1.001" in bpy.data.meshes, "objects %s" % object_names())
    newest = images_by_texture(bpy.data.objects["house1.001"])
    check(newest["window.pcx"] != window and newest["brick.pcx"] == shared["brick.pcx"],
          "after painting, the new model's images: %s" % {name: image.name for name, image in newest.items()})
    check(all(image.users > 0 for image in bpy.data.images), "an image without users is left")
    print("    %d models, %d images" % (len(bpy.data.objects), len(bpy.data.images)))


def test_numpy_bool():
    """numpy.bool is lent for the import only where numpy lacks it."""
    import numpy
    own = numpy_bool(numpy)
    with sys.modules[MODULE + ".importer"].numpy_bool_alias() as lent:
        check(lent == (own is None), "lent %s with numpy's own %s" % (lent, own))
        check(numpy_bool(numpy) is (bool if lent else own), "numpy.bool is %s during the import" % numpy_bool(numpy))
    check(numpy_bool(numpy) is own, "numpy.bool left changed")
    print("    numpy %s: numpy.bool lent: %s" % (numpy.__version__, lent))


def test_cut_model():
    folder = model_folder("cut")
    cut = os.path.join(folder, "cut.mag")
    with open(os.path.join(folder, "house.mag"), "rb") as source, open(cut, "wb") as target:
        target.write(source.read(1000))
    result, error, printed = run_import(filepath=cut)
    check(result is None and "zelvane: %s: file ends early" % cut in error, "error %r" % error)
    check("Traceback" not in printed, "a traceback: %r" % printed)
    check(nothing_imported(), "imported: %s" % object_names())
    # With a good model in the same choice, that one still comes in.
    result, error, printed = run_import(directory=folder, files=[{"name": "cut.mag"}, {"name": "house.mag"}])
    errors = [line for line in printed.splitlines() if line.startswith("Error: ")]
    check(len(errors) == 1 and cut in errors[0], "error reports %s" % errors)
    check(object_names() == ["house"], "objects %s" % object_names())
    check(sorted(os.listdir(folder)) == ["cut.mag", "house.mag"], "beside the models: %s" % os.listdir(folder))


def test_missing_textures():
    folder = model_folder("untextured")
    model = os.path.join(folder, "house.mag")
    result, error, printed = run_import(filepath=model)
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    expected = ["zelvane: %s: texture %s: not found (looked in %s%s)" % (model, texture, folder, os.sep)
                for texture in TEXTURES]
    check(warnings_of(printed) == expected, "warnings %s" % warnings_of(printed))
    check(object_names() == ["house"] and not bpy.data.images, "imported %s, %d images" % (object_names(), len(bpy.data.images)))
    if object_names() == ["house"]:
        check_house(bpy.data.objects[0], "house", textured=False)


def test_converter_preference():
    folder = model_folder("preference")
    model = os.path.join(folder, "house.mag")
    try:
        missing = os.path.join(WORK, "no-such-zelvane")
        set_converter(missing)
        result, error, printed = run_import(filepath=model)
        check(result is None and missing in error, "error %r does not name %s" % (error, missing))
        check("Traceback" not in printed, "a traceback: %r" % printed)
        check(nothing_imported(), "imported: %s" % object_names())

        # The preference's converter is run with the model's absolute path, an
        # output folder of its own and each texture folder.
        tools = os.path.join(WORK, "preference-tools")
        set_converter(logging_converter(tools, "my-zelvane"))
        result, error, _ = run_import(filepath=model, texture_folders=" %s %s%s " % (EXAMPLES, os.pathsep, tools))
        check(result == {'FINISHED'} and object_names() == ["house"], "result %s, error %r" % (result, error))
        with open(os.path.join(tools, "arguments")) as file:
            arguments = file.read().splitlines()
        check(arguments[:3] == [model, "--glb", "--output-dir"] and len(arguments) == 8, "arguments %s" % arguments)
        check(os.path.dirname(arguments[3]) != folder and not os.path.exists(arguments[3]),
              "output folder %s beside the model or left behind" % arguments[3])
        check(arguments[4:] == ["--texture-dir", EXAMPLES, "--texture-dir", tools], "arguments %s" % arguments)
    finally:
        set_converter("")


def test_converter_on_path():
    tools = os.path.join(WORK, "path-tools")
    logging_converter(tools, "zelvane")
    model = os.path.join(model_folder("path"), "house.mag")
    bundled = os.path.dirname(os.path.dirname(bundled_converter()))
    saved_path = os.environ["PATH"]
    os.environ["PATH"] = tools + os.pathsep + saved_path
    try:
        result, error, _ = run_import(filepath=model)
        check(result == {'FINISHED'} and not os.path.exists(os.path.join(tools, "arguments")),
              "the bundled converter was not the one run: %s %r" % (result, error))
        os.rename(bundled, bundled + ".hidden")
        result, error, _ = run_import(filepath=model)
        check(result == {'FINISHED'} and os.path.exists(os.path.join(tools, "arguments")),
              "zelvane on PATH was not run: %s %r" % (result, error))
        os.environ["PATH"] = "/nonexistent"
        result, error, printed = run_import(filepath=model)
        for tried in ("preferences", bundled_converter(), "PATH"):
            check(result is None and tried in error, "error %r does not mention %r" % (error, tried))
        check("Traceback" not in printed, "a traceback: %r" % printed)
    finally:
        os.environ["PATH"] = saved_path
        if os.path.exists(bundled + ".hidden"):
            os.rename(bundled + ".hidden", bundled)


def test_saved_and_reopened():
    # The packed images outlive their temporary folder, in a saved file.
    result, error, _ = run_import(filepath=os.path.join(model_folder("saved"), "house.mag"), texture_folders=EXAMPLES)
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    blend = os.path.join(WORK, "saved.blend")
    bpy.ops.wm.save_as_mainfile(filepath=blend)
    bpy.ops.wm.open_mainfile(filepath=blend)
    check(object_names() == ["house"], "objects %s" % object_names())
    check_images()


# -------------------------------------------------------------- export cases

def import_house(folder_name, model_name="house"):
    """The sample house, textured, imported through the add-on as model_name."""
    model = os.path.join(model_folder(folder_name), model_name + ".mag")
    if model_name != "house":
        os.rename(os.path.join(os.path.dirname(model), "house.mag"), model)
    result, error, _ = run_import(filepath=model, texture_folders=EXAMPLES)
    check(result == {'FINISHED'} and model_name in bpy.data.objects, "import: result %s, error %r" % (result, error))
    return bpy.data.objects.get(model_name)


def new_folder(name, files=()):
    folder = os.path.join(WORK, name)
    os.makedirs(folder)
    for file in files:
        with open(os.path.join(folder, file), "w") as text:
            text.write("not the export's\n")
    return folder


def read_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def triangles_of(obj):
    return sum(len(polygon.vertices) - 2 for polygon in obj.data.polygons)


def import_export(path):
    """The exported model at path imported again, beside what there is;
    returns its object, or None."""
    result, error, printed = run_import(filepath=path)
    check(result == {'FINISHED'} and not warnings_of(printed),
          "%s imported again: result %s, error %r, warnings %s" % (path, result, error, warnings_of(printed)))
    return bpy.data.objects.get(os.path.splitext(os.path.basename(path))[0])


def test_export_house():
    """Imported, exported and imported again, the house is what it was: its
    triangles, materials (named after texture and colour bytes) and images
    pixel for pixel; the chosen folder holds the .mag and its PCX files,
    which run_tests.sh reads again with Pillow, and nothing else."""
    house = import_house("export-source")
    materials = sorted(material.name for material in house.data.materials)
    shown = {name: list(image.pixels) for name, image in images_by_texture(house).items()}
    folder = new_folder("export-house")
    temp_before = set(os.listdir(tempfile.gettempdir()))
    start = time.monotonic()
    result, error, printed = run_export(filepath=os.path.join(folder, "house.mag"))
    print("    export of the house through the add-on: %.2f s" % (time.monotonic() - start))
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    check(not warnings_of(printed), "warnings %s" % warnings_of(printed))
    check(sorted(os.listdir(folder)) == sorted(("house.mag",) + TEXTURES), "written: %s" % os.listdir(folder))
    check(set(os.listdir(tempfile.gettempdir())) == temp_before, "the temporary folder is left")

    clear_data()
    again = import_export(os.path.join(folder, "house.mag"))
    if again is not None:
        check_house(again, "house")
        check(sorted(material.name for material in again.data.materials) == materials,
              "materials %s, before %s" % (sorted(material.name for material in again.data.materials), materials))
        check_images()
        for name, image in images_by_texture(again).items():
            check(list(image.pixels) == shown.get(name), "%s shows other pixels than before" % name)


def test_export_names_and_replacing():
    """A chosen name of several dots is written as it is. Files of the
    export's names are replaced as the converter replaces its outputs (the
    permissions kept, a link followed to its file), others left alone."""
    import_house("replace-source")
    fresh = new_folder("replace-fresh")
    result, error, _ = run_export(filepath=os.path.join(fresh, "house.mag"))
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))

    folder = new_folder("replace", ("house.mag", "notes.txt", "brick.pcx"))
    os.chmod(os.path.join(folder, "brick.pcx"), 0o640)
    shared = os.path.join(new_folder("replace-shared", ("window.pcx",)), "window.pcx")
    os.symlink(shared, os.path.join(folder, "window.pcx"))
    result, error, _ = run_export(filepath=os.path.join(folder, "house.v2.final.mag"))
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    check(sorted(os.listdir(folder)) == sorted(("house.mag", "notes.txt", "house.v2.final.mag") + TEXTURES),
          "in the folder: %s" % sorted(os.listdir(folder)))
    for name in ("house.mag", "notes.txt"):
        check(read_bytes(os.path.join(folder, name)) == b"not the export's\n", "%s was changed" % name)
    written = {name: os.path.join(folder, name) for name in TEXTURES}
    written["house.mag"] = os.path.join(folder, "house.v2.final.mag")
    for name, path in written.items():
        check(read_bytes(path) == read_bytes(os.path.join(fresh, name)), "%s differs from a fresh export" % path)
    check(os.stat(written["brick.pcx"]).st_mode & 0o777 == 0o640, "brick.pcx lost its permissions")
    check(os.path.islink(written["window.pcx"]) and read_bytes(shared) == read_bytes(os.path.join(fresh, "window.pcx")),
          "window.pcx, a link, was not written through")


def too_long_a_texture_name(path):
    name = "a_texture_name_longer_than_the_game_holds.pcx"
    next(material for material in bpy.data.materials if material.name.startswith("brick.pcx")).name = name + " #ffffffff"
    return "zelvane: %s: texture name %s is longer than 32 bytes" % (path, name)


def only_an_empty_selected(path):
    for obj in list(bpy.data.objects):
        obj.select_set(False)
    empty = bpy.data.objects.new("empty", None)
    bpy.context.scene.collection.objects.link(empty)
    empty.select_set(True)
    return "%s: no mesh to export: the selected objects have no faces" % path


def no_objects(path):
    for obj in list(bpy.data.objects):
        bpy.data.objects.remove(obj)
    return "%s: no mesh to export: the scene has no faces" % path


def converter_missing(path):
    missing = os.path.join(WORK, "no-such-zelvane")
    set_converter(missing)
    return missing


def converter_failing(path):
    """A converter that writes into its output folder and then fails."""
    failing = os.path.join(WORK, "failing-zelvane")
    with open(failing, "w") as file:
        file.write('#!/bin/sh\nwhile [ $# -gt 0 ]; do\n  [ "$1" = --output-dir ] && touch "$2/model.mag" "$2/brick.pcx"\n'
                   '  shift\ndone\necho "zelvane: it went wrong" >&2\nexit 3\n')
    os.chmod(failing, 0o755)
    set_converter(failing)
    return "the converter %s ended with status 3\nzelvane: it went wrong" % failing


def folder_missing(path):
    shutil.rmtree(os.path.dirname(path))
    return "%s: the folder to export to does not exist" % os.path.dirname(path)


def model_name_taken_by_a_folder(path):
    """The model cannot be placed, the last file: the PCX files placed
    before it are taken back, an earlier one of the same name put back."""
    os.mkdir(path)
    with open(os.path.join(os.path.dirname(path), "brick.pcx"), "w") as file:
        file.write("an earlier brick.pcx\n")
    return "cannot write %s: Is a directory" % path


EXPORT_FAILURES = (too_long_a_texture_name, only_an_empty_selected, no_objects, converter_missing,
                   converter_failing, folder_missing, model_name_taken_by_a_folder)


def folder_state(folder):
    """{name: "folder", or the size and hash of its bytes} for what the
    folder holds, or None when there is no such folder."""
    if not os.path.isdir(folder):
        return None
    state = {}
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path):
            state[name] = "folder"
        else:
            state[name] = "%d bytes, %s" % (os.path.getsize(path), hashlib.sha256(read_bytes(path)).hexdigest()[:12])
    return state


def test_export_failures():
    """Each is an error report, no traceback, and nothing written."""
    for number, failure in enumerate(EXPORT_FAILURES):
        clear_data()
        import_house("failure-source-%d" % number)
        folder = new_folder("failure-%d" % number, ("keep.txt",))
        path = os.path.join(folder, "house.mag")
        temp_before = set(os.listdir(tempfile.gettempdir()))
        try:
            expected = failure(path)
            before = folder_state(folder)
            result, error, printed = run_export(filepath=path)
        finally:
            set_converter("")
        name = failure.__name__
        check(result is None and expected in error, "%s: error %r, expected %r" % (name, error, expected))
        check("Traceback" not in printed, "%s: a traceback: %r" % (name, printed))
        check(folder_state(folder) == before, "%s: the folder holds %s, before %s" % (name, folder_state(folder), before))
        check(set(os.listdir(tempfile.gettempdir())) == temp_before, "%s: the temporary folder is left" % name)


def test_export_warnings():
    """The converter's warnings are warning reports naming the chosen file:
    an image with transparency, which a PCX file does not hold."""
    import_house("warning-source")
    glass = bpy.data.images.new("glass", 4, 4, alpha=True)
    glass.pixels = [0.2, 0.4, 0.6, 0.5] * 16
    glass.filepath_raw = os.path.join(WORK, "glass.png")
    glass.file_format = 'PNG'
    glass.save()
    glass.pack()
    for material in bpy.data.materials:
        for node in material.node_tree.nodes if material.name.startswith("window.pcx") else ():
            if node.type == 'TEX_IMAGE':
                node.image = glass
    folder = new_folder("warning")
    path = os.path.join(folder, "house.mag")
    result, error, printed = run_export(filepath=path)
    check(result == {'FINISHED'}, "result %s, error %r" % (result, error))
    expected = ["zelvane: %s: texture window.pcx: transparency dropped: an 8-bit PCX image has none" % path]
    check(warnings_of(printed) == expected, "warnings %s" % warnings_of(printed))
    check(sorted(os.listdir(folder)) == sorted(("house.mag",) + TEXTURES), "written: %s" % os.listdir(folder))


def select_only(*names):
    for obj in bpy.data.objects:
        obj.select_set(obj.name in names)


def array_of_two(obj):
    array = obj.modifiers.new("array", 'ARRAY')
    array.count = 2
    select_only(obj.name)


# What is exported: (name, how the scene is made ready, triangles expected).
EXPORTED_OBJECTS = (
    ("one-selected", lambda house, shed: select_only("shed"), 470),
    ("none-selected", lambda house, shed: select_only(), 940),
    ("both-selected", lambda house, shed: select_only("house", "shed"), 940),
    ("modifier-applied", lambda house, shed: array_of_two(house), 940),
)


def test_export_what_is_chosen():
    """The selected objects, or all when none is, with their modifiers
    applied; the selection stays as it was."""
    house, shed = import_house("chosen-house"), import_house("chosen-shed", "shed")
    shed.location.x += 20  # Blender's importer would take two houses in one place for one
    folder = new_folder("chosen")
    for name, make_ready, triangles in EXPORTED_OBJECTS:
        make_ready(house, shed)
        selected = sorted(obj.name for obj in bpy.context.selected_objects)
        path = os.path.join(folder, name + ".mag")
        result, error, _ = run_export(filepath=path)
        check(result == {'FINISHED'}, "%s: result %s, error %r" % (name, result, error))
        check(sorted(obj.name for obj in bpy.context.selected_objects) == selected, "%s: the selection changed" % name)
        again = import_export(path)
        if again is not None:
            check(triangles_of(again) == triangles, "%s: %d triangles, not %d" % (name, triangles_of(again), triangles))
            bpy.data.objects.remove(again)

# The cases after the install, in this order, the same for both kinds.
CASES = (test_house_textured, test_two_models_at_once, test_shared_images, test_numpy_bool, test_cut_model,
         test_missing_textures, test_converter_preference, test_converter_on_path, test_saved_and_reopened,
         test_export_house, test_export_names_and_replacing, test_export_failures, test_export_warnings,
         test_export_what_is_chosen)

os.makedirs(WORK)
run_case(test_install)
if not failures:
    for case in CASES:
        run_case(case)
print("\n".join(["", "%d checks failed:" % len(failures)] + failures) if failures else "\nevery case passed")
sys.exit(1 if failures else 0)
