# Renders a glTF model with Blender from the fixed view of Zelvane's pictures
# (src/picture/Picture.h), as an independent picture to compare against:
#   blender -b --factory-startup --python blender_picture.py -- MODEL.glb OUT.png SIDE
# The view is worked out here from the model's own vertices, by the same
# rule: the box of the positions, its centre c and half diagonal r, the eye
# at c + d r / sin 15 degrees with d at 40 degrees from +Z towards +X and 25
# degrees up, a vertical field of view of 30 degrees. Surfaces are lit by a
# uniformly white sky, so that each shows its own colour.
import math
import sys

import numpy

# Debian's Blender 3.4 meets numpy 1.24, which dropped the alias its glTF
# importer uses for every model with normals.
if not hasattr(numpy, "bool"):
    numpy.bool = bool

import bpy
from mathutils import Vector

ELEVATION = math.radians(25.0)
AZIMUTH = math.radians(40.0)
HALF_FIELD = math.radians(15.0)


def import_model(path):
    bpy.ops.wm.read_factory_settings(use_empty=True)
    bpy.ops.import_scene.gltf(filepath=path)
    return [o for o in bpy.context.scene.objects if o.type == "MESH"]


# Blender turns glTF's (x, y, z) into (x, -z, y) on import.
def to_gltf(v):
    return Vector((v.x, v.z, -v.y))


def to_blender(v):
    return Vector((v.x, -v.z, v.y))


def model_sphere(meshes):
    points = [to_gltf(m.matrix_world @ v.co) for m in meshes for v in m.data.vertices]
    low = Vector([min(p[i] for p in points) for i in range(3)])
    high = Vector([max(p[i] for p in points) for i in range(3)])
    radius = (high - low).length / 2
    return (low + high) / 2, radius if radius > 0 else 1.0


def place_camera(centre, radius):
    back = Vector((math.cos(ELEVATION) * math.sin(AZIMUTH), math.sin(ELEVATION),
                   math.cos(ELEVATION) * math.cos(AZIMUTH)))
    eye = to_blender(centre + back * (radius / math.sin(HALF_FIELD)))
    data = bpy.data.cameras.new("view")
    data.lens_unit = "FOV"
    data.sensor_fit = "VERTICAL"
    data.angle_y = 2 * HALF_FIELD
    data.clip_start = 2.0 * radius
    data.clip_end = 6.0 * radius
    camera = bpy.data.objects.new("view", data)
    camera.location = eye
    camera.rotation_euler = (to_blender(centre) - eye).to_track_quat("-Z", "Y").to_euler()
    bpy.context.scene.collection.objects.link(camera)
    bpy.context.scene.camera = camera


def set_up_render(side, path):
    scene = bpy.context.scene
    scene.render.engine = "CYCLES"
    scene.cycles.device = "CPU"
    scene.cycles.samples = 16
    scene.cycles.use_denoising = False
    scene.render.film_transparent = True
    scene.render.resolution_x = side
    scene.render.resolution_y = side
    scene.render.resolution_percentage = 100
    scene.view_settings.view_transform = "Standard"
    scene.render.image_settings.file_format = "PNG"
    scene.render.image_settings.color_mode = "RGBA"
    scene.render.filepath = path
    world = bpy.data.worlds.new("sky")
    world.color = (1.0, 1.0, 1.0)
    scene.world = world


def main():
    model, out, side = sys.argv[sys.argv.index("--") + 1:]
    meshes = import_model(model)
    centre, radius = model_sphere(meshes)
    place_camera(centre, radius)
    set_up_render(int(side), out)
    bpy.ops.render.render(write_still=True)


main()
