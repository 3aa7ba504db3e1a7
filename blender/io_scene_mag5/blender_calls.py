"""Calling Blender's own glTF importer and exporter from the add-on's operators."""

import bpy


def gltf_operator_available(category):
    """Whether bpy.ops.<category>.gltf is there ("import_scene" or
    "export_scene"): the glTF add-on may be disabled."""
    try:
        getattr(getattr(bpy.ops, category), "gltf").get_rna_type()
    except (AttributeError, KeyError):
        return False
    return True


def failure_line(error):
    """The line that says what went wrong in a RuntimeError from an operator:
    its last line, without the traceback or the Location line before it."""
    lines = [line.strip() for line in str(error).splitlines()]
    lines = [line for line in lines if line and not line.startswith("Location:")]
    if not lines:
        return "unknown error"
    last = lines[-1]
    for prefix in ("Error: Python: ", "Error: "):
        if last.startswith(prefix):
            last = last[len(prefix):]
    return last
