"""One Blender image per texture file among models imported together.

The converter embeds each model's images, named after their texture files,
and Blender's glTF importer makes new images for each model (adding .001
and so on to names taken): fifty models that share a few dozen textures
would bring in each texture many times. A file is told by its name and its
packed bytes, since two different files may have one name: a new image
whose name and bytes an image seen before has is replaced by that one
wherever it is used, then removed.
"""

import hashlib
import re

import bpy

_TAKEN_NAME_SUFFIX = re.compile(r"\.[0-9]{3}$")


def _file_name(image):
    return _TAKEN_NAME_SUFFIX.sub("", image.name)


class ImageSharing:
    """Images by texture file, for one import of one or several models.

    Images there were before the import take part too, unless they were
    changed since they were packed (their packed bytes no longer say what
    they show). Their bytes are hashed only when a new image of the same
    name and packed size comes in.
    """

    def __init__(self):
        self._unhashed = {}  # (name, packed size) -> images not hashed yet
        self._by_content = {}  # (name, packed size, SHA-256) -> image
        for image in bpy.data.images:
            if image.packed_file is not None and not image.is_dirty:
                self._unhashed.setdefault(self._name_and_size(image), []).append(image)

    @staticmethod
    def _name_and_size(image):
        return _file_name(image), image.packed_file.size

    def _key(self, image):
        return self._name_and_size(image) + (hashlib.sha256(image.packed_file.data).digest(),)

    def _hash_pending(self, name_and_size):
        for image in self._unhashed.pop(name_and_size, ()):
            self._by_content.setdefault(self._key(image), image)

    def share(self, images):
        """Each packed image of `images` that an image seen before has the
        name and bytes of is replaced by it and removed; the others are kept
        for the next. Returns how many were removed."""
        removed = 0
        for image in images:
            if image.packed_file is None:
                continue
            self._hash_pending(self._name_and_size(image))
            kept = self._by_content.setdefault(self._key(image), image)
            if kept is not image:
                image.user_remap(kept)
                bpy.data.images.remove(image)
                removed += 1
        return removed
