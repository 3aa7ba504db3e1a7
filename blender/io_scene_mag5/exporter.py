"""The export operator: the objects go out through Blender's own glTF
exporter into a private temporary folder, and the converter makes the MAG5
model and its PCX textures of that file."""

import os
import shutil
import tempfile

import bpy
from bpy.props import StringProperty
from bpy_extras.io_utils import ExportHelper

from .blender_calls import failure_line
from .converter import (ConverterFailed, Conversion, convert_to_mag5, describe_failure,
                        with_paths_renamed)
from .placing import PlacingFailed, place_files, staging_folder
from .preferences import ready_converter

# What the glTF exporter is asked for, besides the file and the selection.
GLTF_OPTIONS = {
    "export_format": 'GLB',  # one file, the images inside it
    "export_yup": True,
    # The materials' custom properties, where the fourth colour channel of a
    # model brought in by the add-on waits (colourChannel4).
    "export_extras": True,
    # The game knows no modifiers: the model goes out as Blender shows it,
    # mirrored, arrayed or subdivided, in the pose of the current frame.
    "export_apply": True,
    "export_current_frame": True,
    # Nor animations, skins or shape keys, which the game's models lack:
    # without skins, an armature's modifier is applied like the others.
    "export_animations": False,
    "export_skins": False,
    "export_morph": False,
}

# The name of the glTF file in the private folder. The converter names the
# model it writes after it, cut at the first dot, and the file is then
# moved to the name chosen.
GLB_NAME = "model.glb"
STAGED_MODEL_NAME = "model.mag"


class ExportMag5(bpy.types.Operator, ExportHelper):
    """Export the selected objects, or all when none is selected, as a Darvonelle model (MAG5) with its textures as PCX files, converted by zelvane"""

    bl_idname = "export_scene.mag5"
    bl_label = "Export Darvonelle Model"
    bl_options = {'REGISTER'}

    filename_ext = ".mag"
    filter_glob: StringProperty(default="*.mag", options={'HIDDEN'})

    def execute(self, context):
        path = self._chosen_path()
        if path is None:
            return {'CANCELLED'}
        converter = ready_converter(self, context, "export_scene", "exporter")
        if converter is None:
            return {'CANCELLED'}

        try:
            work = tempfile.mkdtemp(prefix="zelvane-blender-")
        except OSError as error:
            self.report({'ERROR'}, "cannot make a temporary folder: %s" % (error.strerror or error))
            return {'CANCELLED'}
        try:
            with staging_folder(os.path.dirname(path)) as staging:
                written = self._export(context, converter, path, work, staging)
        except (ConverterFailed, PlacingFailed, OSError) as error:
            self.report({'ERROR'}, str(error))
            return {'CANCELLED'}
        finally:
            shutil.rmtree(work, ignore_errors=True)
        if written is None:
            return {'CANCELLED'}
        textures = ", ".join(written)
        self.report({'INFO'}, "Wrote %s%s" % (path, " and beside it " + textures if textures else ""))
        return {'FINISHED'}

    def _chosen_path(self):
        """The .mag path to write (".mag" added when the name lacks it), or
        None when there is none (the report says why)."""
        if not self.filepath or self.filepath.endswith(("/", os.sep)):
            self.report({'ERROR'}, "No file chosen to export to")
            return None
        path = bpy.path.ensure_ext(os.path.abspath(bpy.path.abspath(self.filepath)), self.filename_ext)
        folder = os.path.dirname(path)
        if not os.path.isdir(folder):
            self.report({'ERROR'}, "%s: the folder to export to does not exist" % folder)
            return None
        return path

    def _export(self, context, converter, path, work, staging):
        """The glTF file, the converter's run on it into `staging`, and its
        files placed. Returns the names of the PCX files written, or None
        when nothing was (the reports say why)."""
        glb = os.path.join(work, GLB_NAME)
        selected = bool(context.selected_objects)
        failure = _export_glb(glb, selected)
        if failure:
            self.report({'ERROR'}, "%s: Blender's glTF exporter failed: %s" % (path, failure))
            return None
        staged_model = os.path.join(staging, STAGED_MODEL_NAME)
        # The converter joins its output folder and names with "/", on
        # Windows too.
        renames = [(staging + separator + STAGED_MODEL_NAME, path) for separator in {os.sep, "/"}]
        renames += [(glb, path), (staging, os.path.dirname(path))]
        run = convert_to_mag5(converter, glb, staging)
        conversion = Conversion(run.status, with_paths_renamed(run.messages, renames), run.report)
        if not conversion.ok:
            self.report({'ERROR'}, "\n".join(describe_failure(converter, conversion)))
            return None
        if conversion.polygons_written == 0:
            whose = "the selected objects have" if selected else "the scene has"
            self.report({'ERROR'}, "%s: no mesh to export: %s no faces" % (path, whose))
            return None
        for line in conversion.messages:
            self.report({'WARNING'}, line)
        return _place(staging, staged_model, path)


def _export_glb(glb, selected):
    """Writes the selected objects, or all, as glb; returns why it failed, or ""."""
    try:
        result = bpy.ops.export_scene.gltf(filepath=glb, use_selection=selected, **GLTF_OPTIONS)
    except RuntimeError as error:
        return failure_line(error)
    if result != {'FINISHED'} or not os.path.isfile(glb):
        return "it wrote no file (%s)" % ", ".join(sorted(result))
    return ""


def _place(staging, staged_model, path):
    """Moves the staged model to `path` and its PCX files beside it, the
    model last; returns the PCX files' names."""
    folder = os.path.dirname(path)
    textures = sorted(name for name in os.listdir(staging) if name.lower().endswith(".pcx"))
    moves = [(os.path.join(staging, name), os.path.join(folder, name)) for name in textures]
    place_files(moves + [(staged_model, path)], staging)
    return textures

