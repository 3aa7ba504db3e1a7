"""File > Import > Darvonelle model (.mag): converts each model with the
zelvane converter to glTF in a private temporary folder and brings it in
through Blender's own glTF importer, textures packed into the .blend."""

bl_info = {
    "name": "Darvonelle model (.mag)",
    "author": "The Zelvane developers",
    "version": (0, 1, 4),
    "blender": (3, 4, 0),
    "location": "File > Import > Darvonelle model (.mag)",
    "description": "Import MAG5 models of the game Darvonelle, textured, through the zelvane converter",
    "category": "Import-Export",
}

if "bpy" in locals():
    import importlib

    importlib.reload(converter)  # noqa: F821 (bound on the first load)
    importlib.reload(importer)  # noqa: F821
else:
    from . import converter, importer

import bpy  # noqa: E402

_classes = (importer.Mag5Preferences, importer.ImportMag5)


def _menu_import(self, context):
    self.layout.operator(importer.ImportMag5.bl_idname, text="Darvonelle model (.mag)")


def register():
    for cls in _classes:
        bpy.utils.register_class(cls)
    bpy.types.TOPBAR_MT_file_import.append(_menu_import)


def unregister():
    bpy.types.TOPBAR_MT_file_import.remove(_menu_import)
    for cls in reversed(_classes):
        bpy.utils.unregister_class(cls)
