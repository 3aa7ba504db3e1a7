"""The add-on's preferences: which converter to run."""

import os

import bpy
from bpy.props import StringProperty

from .blender_calls import gltf_operator_available
from .converter import ConverterNotFound, find_converter

ADDON_DIR = os.path.dirname(os.path.abspath(__file__))


class Mag5Preferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    converter: StringProperty(
        name="Converter",
        description="The zelvane executable to run. When empty, the one that comes with "
                    "the add-on, else zelvane on PATH",
        subtype='FILE_PATH',
    )

    def draw(self, context):
        layout = self.layout
        layout.prop(self, "converter")
        try:
            path = find_converter(self.converter, ADDON_DIR, make_runnable=False)
        except ConverterNotFound as error:
            layout.label(text=str(error), icon='ERROR')
        else:
            layout.label(text="Uses " + path)


def converter_preference(context):
    addon = context.preferences.addons.get(__package__)
    return addon.preferences.converter if addon and addon.preferences else ""


def ready_converter(operator, context, gltf_category, gltf_role):
    """The converter an operator runs, once Blender's glTF operators of the
    category ("import_scene" or "export_scene", the glTF "importer" or
    "exporter") are there; None after reporting why not."""
    if not gltf_operator_available(gltf_category):
        operator.report({'ERROR'}, "Blender's glTF " + gltf_role + " is not enabled: enable the add-on "
                                   "\"Import-Export: glTF 2.0 format\"")
        return None
    try:
        return find_converter(converter_preference(context), ADDON_DIR)
    except ConverterNotFound as error:
        operator.report({'ERROR'}, str(error))
        return None
