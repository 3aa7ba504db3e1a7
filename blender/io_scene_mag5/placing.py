"""Putting an export's files under the names the user chose.

The converter names a model's outputs after the model's file, cut at its
first dot, so it cannot write `house.v2.mag` itself. It writes them into a
staging folder made inside the chosen folder instead (one file system, so
that a rename moves a file whole, in one step), and they are moved from
there as the converter places its own outputs: each file whole or not at
all, the permissions of the file it replaces kept, a link followed to the
file it leads to, and every file placed or, when one cannot be, those
placed before it taken back.

Nothing here imports bpy.
"""

import contextlib
import os
import shutil
import stat
import tempfile

STAGING_PREFIX = ".zelvane-export-"


class PlacingFailed(Exception):
    """A file could not be placed; none of them was (the message says why)."""


@contextlib.contextmanager
def staging_folder(folder):
    """A new folder inside `folder`, private to this run, removed with all
    it holds on leaving. Raises PlacingFailed when it cannot be made."""
    try:
        staging = tempfile.mkdtemp(prefix=STAGING_PREFIX, dir=folder)
    except OSError as error:
        raise PlacingFailed("cannot write in %s: %s" % (folder, error.strerror or error)) from None
    try:
        yield staging
    finally:
        shutil.rmtree(staging, ignore_errors=True)


class _Replacement:
    """One staged file moved to its target. An earlier file there keeps a
    second name in the staging folder (a hard link, or, where the file
    system has none, the file itself moved there) until every file is in
    place, so that it can be put back."""

    def __init__(self, staged, target, aside):
        self.staged = staged
        self.target = os.path.realpath(target) if os.path.islink(target) else target
        self.aside = aside
        self.earlier = None  # "linked" or "moved", once an earlier file is kept aside
        self.placed = False

    def place(self):
        try:
            mode = os.stat(self.target).st_mode
        except FileNotFoundError:
            mode = None
        if mode is not None and stat.S_ISREG(mode):
            os.chmod(self.staged, stat.S_IMODE(mode))
            self._keep_earlier()
        os.replace(self.staged, self.target)
        self.placed = True

    def _keep_earlier(self):
        try:
            os.link(self.target, self.aside)
            self.earlier = "linked"
        except OSError:
            os.replace(self.target, self.aside)
            self.earlier = "moved"

    def take_back(self):
        """Undoes what place() did, as far as it got. A step that cannot be
        undone leaves the files as they are."""
        with contextlib.suppress(OSError):
            if self.earlier is not None and (self.placed or self.earlier == "moved"):
                os.replace(self.aside, self.target)
            elif self.placed:
                os.remove(self.target)


def place_files(moves, staging):
    """Moves the file of each (staged path, target path) pair of `moves` to
    its target, in order, over any file there; `staging` is the folder the
    staged files are in. All of them are placed, or none: when one cannot
    be, those before it are taken back and PlacingFailed is raised."""
    done = []
    for number, (staged, target) in enumerate(moves):
        replacement = _Replacement(staged, target, os.path.join(staging, ".earlier-%d" % number))
        done.append(replacement)
        try:
            replacement.place()
        except OSError as error:
            for placed in reversed(done):
                placed.take_back()
            raise PlacingFailed("cannot write %s: %s" % (replacement.target, error.strerror or error)) from None
