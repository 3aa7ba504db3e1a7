"""The add-on's preferences: which converter to run."""

import os

import bpy
from bpy.props import StringProperty

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
