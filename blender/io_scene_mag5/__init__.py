"""File > Import > Darvonelle model (.mag): converts each model with the
zelvane converter to glTF in a private temporary folder and brings it in
through Blender's own glTF importer, textures packed into the .blend.

File > Export > Darvonelle model (.mag): the other way, through Blender's
own glTF exporter and the converter, to a MAG5 model and its textures as
PCX files."""

bl_info = {
    "name": "Darvonelle model (.mag)",
    "author": "The Zelvane developers",
    "version": (0, 1, 4),
    "blender": (3, 4, 0),
    "location": "File > Import > Darvonelle model (.mag), File > Export > Darvonelle model (.mag)",
    "description": "Import and export MAG5 models of the game Darvonelle, textured, through the zelvane converter",
    "category": "Import-Export",
}

if "bpy" in locals():
    import importlib

    # Each after the modules it imports.
    importlib.reload(converter)  # noqa: F821 (bound on the first load)
    importlib.reload(blender_calls)  # noqa: F821
    importlib.reload(placing)  # noqa: F821
    importlib.reload(preferences)  # noqa: F821
    importlib.reload(images)  # noqa: F821
    importlib.reload(importer)  # noqa: F821
    importlib.reload(exporter)  # noqa: F821
else:
    from . import blender_calls, converter, exporter, images, importer, placing, preferences

import bpy  # noqa: E402

_classes = (preferences.Mag5Preferences, importer.ImportMag5, exporter.ExportMag5)


def _menu_import(self, context):
    self.layout.operator(importer.ImportMag5.bl_idname, text="Darvonelle model (.mag)")


def _menu_export(self, context):
    self.layout.operator(exporter.ExportMag5.bl_idname, text="Darvonelle model (.mag)")


# Each File menu the add-on adds an entry to, with the function that draws it.
_menus = (("TOPBAR_MT_file_import", _menu_import), ("TOPBAR_MT_file_export", _menu_export))


def register():
    for cls in _classes:
        bpy.utils.register_class(cls)
    for menu, draw in _menus:
        getattr(bpy.types, menu).append(draw)


def unregister():
    for menu, draw in reversed(_menus):
        getattr(bpy.types, menu).remove(draw)
    for cls in reversed(_classes):
        bpy.utils.unregister_class(cls)
