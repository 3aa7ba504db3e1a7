"""Finding the zelvane converter and running it on one model.

Nothing here imports bpy: the operator hands in the preference's path and
turns the outcome into reports.
"""

import os
import platform
import shutil
import stat
import subprocess
import sys

EXECUTABLE_NAME = "zelvane"


class ConverterNotFound(Exception):
    """No converter could be used; the message says what was tried."""


class ConverterFailed(Exception):
    """The converter could not be started at all (not for a model it refused)."""


def bundled_platform():
    """The folder under bin/ holding the converter for this machine, or None."""
    machine = platform.machine().lower()
    if machine not in ("x86_64", "amd64"):
        return None
    if sys.platform.startswith("linux"):
        return "linux-x86_64"
    if sys.platform == "win32":
        return "windows-x86_64"
    return None


def bundled_path(addon_dir):
    """Where the bundled converter for this machine lies (whether or not it is
    there), or None when the add-on carries none for this platform."""
    folder = bundled_platform()
    if folder is None:
        return None
    name = EXECUTABLE_NAME + (".exe" if sys.platform == "win32" else "")
    return os.path.join(addon_dir, "bin", folder, name)


def _make_executable(path):
    """Installing an add-on from a zip drops the executable bit: give it back,
    to everyone who may read the file. Returns whether the file may now run."""
    if os.name != "posix" or os.access(path, os.X_OK):
        return True
    try:
        mode = os.stat(path).st_mode
        readable = mode & (stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
        os.chmod(path, mode | (readable >> 2))
    except OSError:
        return False
    return os.access(path, os.X_OK)


def find_converter(preference_path, addon_dir, make_runnable=True):
    """The converter to run: the preference's path when set, else the one
    bundled for this platform, else zelvane on PATH.

    A preference that names no file is an error rather than a reason to look
    further: the user asked for that converter. make_runnable=False only
    looks (for drawing the preferences): the bundled file is taken as it is.
    """
    if preference_path:
        path = os.path.abspath(os.path.expanduser(preference_path))
        if not os.path.isfile(path):
            raise ConverterNotFound(
                "the converter set in the add-on's preferences, %s, is not a file" % path)
        return path

    tried = []
    bundled = bundled_path(addon_dir)
    if bundled is None:
        tried.append("no converter bundled for %s %s" % (sys.platform, platform.machine()))
    elif not os.path.isfile(bundled):
        tried.append("no bundled converter at %s" % bundled)
    elif make_runnable and not _make_executable(bundled):
        tried.append("the bundled converter %s cannot be made executable" % bundled)
    else:
        return bundled

    on_path = shutil.which(EXECUTABLE_NAME)
    if on_path:
        return os.path.abspath(on_path)
    tried.append("no %s on PATH" % EXECUTABLE_NAME)
    raise ConverterNotFound(
        "no zelvane converter found: no converter set in the add-on's preferences, "
        + ", ".join(tried))


def texture_folders(text):
    """The folders of the texture_folders option: separated by os.pathsep,
    blanks around each ignored, empty ones dropped, ~ expanded."""
    folders = []
    for part in text.split(os.pathsep):
        part = part.strip()
        if part:
            folders.append(os.path.expanduser(part))
    return folders


# The line of a --mag5 run's standard output that counts the polygons written.
MAG5_COUNT_PREFIX = "mag5 pcount: "


class Conversion:
    """One run of the converter: its exit status, its standard error lines
    and its standard output lines."""

    def __init__(self, status, messages, report=()):
        self.status = status
        self.messages = messages
        self.report = list(report)

    @property
    def ok(self):
        return self.status == 0

    @property
    def polygons_written(self):
        """The polygons a --mag5 run wrote (its `mag5 pcount: N` line), or
        None when it printed no such line."""
        for line in self.report:
            count = line[len(MAG5_COUNT_PREFIX):]
            if line.startswith(MAG5_COUNT_PREFIX) and count.isascii() and count.isdigit():
                return int(count)
        return None


def _lines(data):
    text = data.decode("utf-8", errors="replace")
    return [line.rstrip("\r") for line in text.split("\n") if line.strip()]


def _run(converter, arguments):
    """Runs the converter with these arguments. Raises ConverterFailed when
    it cannot be started."""
    options = {}
    if sys.platform == "win32":
        # No console window flashing up over Blender for each model.
        options["creationflags"] = subprocess.CREATE_NO_WINDOW
    try:
        run = subprocess.run([converter] + arguments, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, **options)
    except OSError as error:
        raise ConverterFailed("cannot run the converter %s: %s"
                              % (converter, error.strerror or error)) from None
    return Conversion(run.returncode, _lines(run.stderr), _lines(run.stdout))


def convert_to_glb(converter, model, output_dir, folders):
    """Runs `converter model --glb --output-dir output_dir --texture-dir F...`.

    The model path is made absolute so that no file name can pass for an
    option. Raises ConverterFailed when the converter cannot be started.
    """
    arguments = [os.path.abspath(model), "--glb", "--output-dir", output_dir]
    for folder in folders:
        arguments += ["--texture-dir", folder]
    return _run(converter, arguments)


def convert_to_mag5(converter, model, output_dir):
    """Runs `converter model --mag5 --textures --output-dir output_dir`: the
    model as <base>.mag, <base> its file name up to the first dot (after a
    leading one), and its images as PCX files beside it. Raises
    ConverterFailed when the converter cannot be started."""
    return _run(converter, [os.path.abspath(model), "--mag5", "--textures", "--output-dir", output_dir])


def with_paths_renamed(lines, renames):
    """The lines with each path of the (path, name) pairs replaced by its
    name, in the order given: a converter run on private files talks of
    them, the user knows other names."""
    renamed = []
    for line in lines:
        for path, name in renames:
            line = line.replace(path, name)
        renamed.append(line)
    return renamed


def describe_failure(converter, conversion):
    """The lines of the ERROR report for a conversion that failed: the
    converter's own lines when it refused the model (status 2), else first a
    line naming the converter and how it ended."""
    if conversion.status == 2 and conversion.messages:
        return conversion.messages
    if conversion.status < 0:
        how = "was ended by signal %d" % -conversion.status
    else:
        how = "ended with status %d" % conversion.status
    return ["the converter %s %s" % (converter, how)] + conversion.messages
