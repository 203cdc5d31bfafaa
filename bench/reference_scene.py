#!/usr/bin/python3
"""The reference scene the scene benchmarks compare with: VisPy drawing what
bench/section_scene.cpp draws (a 1280 x 1024 canvas, an axis and three orthogonal
1000 x 1000 float sections, turntable camera at 30 degrees of azimuth and elevation)
on the same display.

Prints one line per figure, medians in milliseconds:
    reference frame <ms>       one frame drawn and finished, the camera turning
    reference swap <ms>        a frame already drawn finished and swapped: its way to the screen
    reference visual_at <ms>   canvas.visual_at over the grid bench/visual_at.cpp uses
    reference picture <ms>     canvas.render() read back and written as a PNG

    xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/reference_scene.py
Needs Debian's python3-vispy, python3-pyqt5 and python3-numpy.
"""
import os
import statistics
import sys
import tempfile
import time

import numpy as np
from vispy import app, gloo, io, scene
from vispy.visuals.transforms import MatrixTransform

WIDTH, HEIGHT, SAMPLES, FRAMES = 1280, 1024, 1000, 20


def synthetic_section(phase):
    rows = np.arange(SAMPLES)[:, None]
    cols = np.arange(SAMPLES)[None, :]
    return (np.sin(rows * 0.05 + phase) * np.cos(cols * 0.013)).astype(np.float32)


def plane_transform(axis, position):
    """Places an image (drawn in x-y, one unit per sample) on the plane normal to axis."""
    transform = MatrixTransform()
    if axis == "x":
        transform.rotate(90, (0, 1, 0))  # image x -> -z; the rotation below fixes it
        transform.rotate(90, (1, 0, 0))
        transform.translate((position, 0, 0))
    elif axis == "y":
        transform.rotate(90, (1, 0, 0))
        transform.translate((0, position, 0))
    else:
        transform.translate((0, 0, position))
    return transform


def build_canvas():
    canvas = scene.SceneCanvas(size=(WIDTH, HEIGHT), bgcolor="white", show=True)
    view = canvas.central_widget.add_view()
    view.camera = scene.TurntableCamera(fov=45, elevation=30, azimuth=30)
    scene.visuals.XYZAxis(parent=view.scene)
    for phase, axis in enumerate("xyz"):
        image = scene.visuals.Image(
            synthetic_section(ord(axis)), cmap="coolwarm", clim=(-1, 1),
            interpolation="bilinear", parent=view.scene)
        image.transform = plane_transform(axis, (SAMPLES - 1) / 2)
    view.camera.set_range(x=(0, SAMPLES - 1), y=(0, SAMPLES - 1), z=(0, SAMPLES - 1))
    # Let the window reach the screen and draw once, textures uploaded.
    for _ in range(20):
        app.process_events()
    canvas.render()
    return canvas, view


def time_ms(run):
    start = time.perf_counter()
    run()
    return (time.perf_counter() - start) * 1e3


def frame_times(canvas, view):
    def draw():
        canvas.on_draw(None)
        gloo.flush()
        canvas.context.finish()
        canvas.swap_buffers()

    times = []
    for _ in range(FRAMES):
        view.camera.azimuth += 3.0
        times.append(time_ms(draw))
    return times


def swap_times(canvas):
    def swap():
        canvas.context.finish()
        canvas.swap_buffers()

    return [time_ms(swap) for _ in range(FRAMES)]


def visual_at_times(canvas):
    times = []
    for y in range(64, HEIGHT, 128):
        for x in range(80, WIDTH, 160):
            times.append(time_ms(lambda: canvas.visual_at((x, y))))
    return times


def picture_times(canvas, view):
    folder = tempfile.mkdtemp()
    path = os.path.join(folder, "picture.png")

    def picture():
        io.write_png(path, canvas.render())

    times = []
    for _ in range(5):
        view.camera.azimuth += 3.0
        times.append(time_ms(picture))
    os.remove(path)
    os.rmdir(folder)
    return times


def main():
    app.use_app("pyqt5")
    canvas, view = build_canvas()
    figures = {
        "frame": frame_times(canvas, view),
        "swap": swap_times(canvas),
        "visual_at": visual_at_times(canvas),
        "picture": picture_times(canvas, view),
    }
    for name, times in figures.items():
        print(f"reference {name} {statistics.median(times):.3f}")
    sys.stdout.flush()
    canvas.close()


if __name__ == "__main__":
    main()
