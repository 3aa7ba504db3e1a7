"""The import operator."""

import contextlib
import os
import shutil
import tempfile
import uuid
import warnings

import bpy
from bpy.props import CollectionProperty, StringProperty
from bpy_extras.io_utils import ImportHelper

from .blender_calls import failure_line
from .converter import (ConverterFailed, convert_to_glb, describe_failure,
                        texture_folders)
from .images import ImageSharing
from .preferences import ready_converter


def _numpy_has_bool(numpy):
    with warnings.catch_warnings():
        # numpy 1.20 to 1.23 warn that the name is going.
        warnings.simplefilter("ignore")
        return hasattr(numpy, "bool")


@contextlib.contextmanager
def numpy_bool_alias():
    """Blender 3.4's glTF importer asks numpy for `numpy.bool`, which numpy
    1.24 removed (Debian 12 has both): every glTF with normals then fails.
    Lend it the builtin for the length of the import, only where numpy lacks
    the name (numpy 2 has it again). Yields whether it was lent."""
    try:
        import numpy
    except ImportError:
        yield False
        return
    lent = not _numpy_has_bool(numpy)
    if lent:
        numpy.bool = bool
    try:
        yield lent
    finally:
        if lent and vars(numpy).get("bool") is bool:
            del numpy.bool


class _DataSnapshot:
    """The data-blocks there were before an import, to tell the new ones."""

    KINDS = ("objects", "meshes", "materials", "images")

    def __init__(self):
        self.before = {kind: set(getattr(bpy.data, kind)) for kind in self.KINDS}

    def new(self, kind):
        return [block for block in getattr(bpy.data, kind) if block not in self.before[kind]]

    def remove_new(self):
        for kind in self.KINDS:
            collection = getattr(bpy.data, kind)
            for block in self.new(kind):
                collection.remove(block)


class ImportMag5(bpy.types.Operator, ImportHelper):
    """Import Darvonelle models (MAG5), textured, converted by zelvane"""

    bl_idname = "import_scene.mag5"
    bl_label = "Import Darvonelle Model"
    bl_options = {'REGISTER', 'UNDO'}

    filename_ext = ".mag"
    # The file browser matches the pattern ignoring letter case.
    filter_glob: StringProperty(default="*.mag", options={'HIDDEN'})

    files: CollectionProperty(type=bpy.types.OperatorFileListElement, options={'HIDDEN', 'SKIP_SAVE'})
    directory: StringProperty(subtype='DIR_PATH', options={'HIDDEN', 'SKIP_SAVE'})

    texture_folders: StringProperty(
        name="Texture Folders",
        description="Folders to look for the textures' images in, after the model's own, "
                    "separated by " + repr(os.pathsep),
    )

    def _model_paths(self):
        names = [entry.name for entry in self.files if entry.name]
        if names and self.directory:
            return [os.path.join(self.directory, name) for name in names]
        return [self.filepath] if self.filepath else []

    def execute(self, context):
        paths = self._model_paths()
        if not paths:
            self.report({'ERROR'}, "No model chosen")
            return {'CANCELLED'}
        converter = ready_converter(self, context, "import_scene", "importer")
        if converter is None:
            return {'CANCELLED'}
        folders = [bpy.path.abspath(folder) for folder in texture_folders(self.texture_folders)]

        imported = []
        sharing = ImageSharing()
        window_manager = context.window_manager
        show_progress = len(paths) > 1
        if show_progress:
            window_manager.progress_begin(0, len(paths))
        try:
            for done, path in enumerate(paths):
                try:
                    objects = self._import_model(converter, path, folders, sharing)
                except ConverterFailed as error:
                    # Every other model would fail the same way.
                    self.report({'ERROR'}, str(error))
                    break
                if objects:
                    imported += objects
                if show_progress:
                    window_manager.progress_update(done + 1)
        finally:
            if show_progress:
                window_manager.progress_end()

        if not imported:
            return {'CANCELLED'}
        self._select(context, imported)
        return {'FINISHED'}

    def _import_model(self, converter, path, folders, sharing):
        """Converts and imports one model; returns its new objects, or None
        when nothing of it came in (the reports say why)."""
        name = os.path.splitext(os.path.basename(path))[0]
        work = tempfile.mkdtemp(prefix="zelvane-blender-")
        try:
            conversion = convert_to_glb(converter, path, work, folders)
            if not conversion.ok:
                self.report({'ERROR'}, "\n".join(describe_failure(converter, conversion)))
                return None
            for line in conversion.messages:
                self.report({'WARNING'}, line)
            glbs = [entry for entry in os.listdir(work) if entry.lower().endswith(".glb")]
            if len(glbs) != 1:
                self.report({'ERROR'}, "%s: the converter %s wrote no .glb file" % (path, converter))
                return None
            return self._import_glb(path, name, os.path.join(work, glbs[0]), work, sharing)
        finally:
            shutil.rmtree(work, ignore_errors=True)

    def _import_glb(self, path, name, glb, work, sharing):
        snapshot = _DataSnapshot()
        try:
            with numpy_bool_alias():
                bpy.ops.import_scene.gltf(filepath=glb)
        except RuntimeError as error:
            snapshot.remove_new()
            self.report({'ERROR'}, "%s: Blender's glTF importer failed: %s" % (path, failure_line(error)))
            return None

        objects = snapshot.new("objects")
        if not objects:
            self.report({'WARNING'}, "%s: the model has no triangle to import" % path)
            snapshot.remove_new()
            return None
        roots = [obj for obj in objects if obj.parent is None]
        if len(roots) == 1:
            _rename(bpy.data.objects, roots[0], name)
        for obj in objects:
            if obj.type == 'MESH' and obj.data.users == 1:
                _rename(bpy.data.meshes, obj.data, name)
        # The converter embeds the images and the importer packs them; an
        # image read from a file is packed here, and no image keeps a path
        # into the folder about to be removed. Then the images this import
        # already has are used instead of new ones of the same bytes.
        images = snapshot.new("images")
        for image in images:
            if image.packed_file is None and image.source == 'FILE' and image.filepath:
                image.pack()
            if _is_inside(bpy.path.abspath(image.filepath_raw), work):
                image.filepath_raw = ""
        sharing.share(images)
        return objects

    @staticmethod
    def _select(context, objects):
        view_layer = context.view_layer
        for obj in view_layer.objects:
            obj.select_set(False)
        for obj in objects:
            if view_layer.objects.get(obj.name) is obj:
                obj.select_set(True)
                view_layer.objects.active = obj


def _rename(collection, block, name):
    """Names a new data-block; when another has the name, the new one gets
    a numbered name instead, as Blender 4.3 does. Blender 3.4 gives the name
    to the block renamed and renumbers the other: the two names are swapped
    back through a free one, so that an earlier import keeps its names."""
    holder = collection.get(name)
    block.name = name
    if holder is not None and holder is not block and holder.name != name:
        numbered = holder.name
        block.name = "zelvane-%s" % uuid.uuid4().hex
        holder.name = name
        block.name = numbered


def _is_inside(path, folder):
    if not path:
        return False
    try:
        return os.path.commonpath([os.path.abspath(path), os.path.abspath(folder)]) == os.path.abspath(folder)
    except ValueError:  # different drives
        return False
