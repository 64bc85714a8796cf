#!/usr/bin/env python3
"""Checks the conversion of the shipped recordings value by value.

Reads samples/recorded/markers_analogs.c3d on its own with struct (header,
parameter records, float frames with analog samples) and markers.trc as
plain comma-separated text, converts both with capture-convert into a
temporary folder, and compares every coordinate, every point not seen, the
frame, marker and gap counts and the summary line.

    usage: recorded_readout.py CAPTURE_CONVERT RECORDED_FOLDER
"""
import os
import struct
import subprocess
import sys
import tempfile


def c3d_parameters(data):
    """{'GROUP:NAME': (type, dims, bytes)} of an Intel C3D file."""
    start = (data[0] - 1) * 512
    groups, found = {}, []
    at = start + 4
    while True:
        length, gid = struct.unpack_from('<bb', data, at)
        if length == 0:
            break
        name = data[at + 2:at + 2 + abs(length)].decode().upper()
        next_offset = struct.unpack_from('<h', data, at + 2 + abs(length))[0]
        body = at + 4 + abs(length)
        if gid < 0:
            groups[-gid] = name
        else:
            kind, ndims = struct.unpack_from('<bB', data, body)
            dims = list(data[body + 2:body + 2 + ndims])
            size = abs(kind)
            for d in dims:
                size *= d
            found.append((gid, name, kind, dims, data[body + 2 + ndims:body + 2 + ndims + size]))
        if next_offset == 0:
            break
        at += 2 + abs(length) + next_offset
    return {groups[g] + ':' + n: (k, d, b) for g, n, k, d, b in found}


def read_c3d(path):
    data = open(path, 'rb').read()
    assert data[1] == 0x50 and data[(data[0] - 1) * 512 + 3] == 84, 'an Intel C3D file'
    points, analog, first, last = struct.unpack_from('<4H', data, 2)
    scale, = struct.unpack_from('<f', data, 12)
    data_block, = struct.unpack_from('<H', data, 16)
    rate, = struct.unpack_from('<f', data, 20)
    assert scale < 0, 'float storage'
    parameters = c3d_parameters(data)
    kind, dims, raw = parameters['POINT:LABELS']
    labels = [raw[i * dims[0]:(i + 1) * dims[0]].decode().rstrip() for i in range(dims[1])]
    frame_bytes = (4 * points + analog) * 4
    frames = []
    for f in range(last - first + 1):
        at = (data_block - 1) * 512 + f * frame_bytes
        values = struct.unpack_from('<%df' % (4 * points), data, at)
        frames.append([values[4 * p:4 * p + 4] for p in range(points)])
    return labels[:points], first, rate, frames


def convert(program, source, folder, options=()):
    target = os.path.join(folder, os.path.basename(source) + '.csv')
    run = subprocess.run([program, source, target, *options], capture_output=True, text=True,
                         timeout=600)
    assert run.returncode == 0 and run.stderr == '', (run.returncode, run.stdout, run.stderr)
    lines = open(target).read().split('\n')
    assert lines[-1] == '', 'the capture ends with a newline'
    return run.stdout, [line.split(',') for line in lines[:-1]]


def as_float32(text):
    return struct.unpack('<f', struct.pack('<f', float(text)))[0]


def check_c3d(program, folder, failures):
    labels, first, rate, frames = read_c3d(os.path.join(folder, 'markers_analogs.c3d'))
    with tempfile.TemporaryDirectory() as out:
        summary, rows = convert(program, os.path.join(folder, 'markers_analogs.c3d'), out)
    header, rows = rows[0], rows[1:]
    expect(failures, 'c3d markers', 51, len(labels))
    expect(failures, 'c3d frames', 580, len(frames))
    expect(failures, 'c3d header', ['KSample', 'KTime'] + [
        l.replace(' ', '_') + axis for l in labels for axis in ('_X', '_Y', '_Z')], header)
    expect(failures, 'c3d rows', len(frames), len(rows))
    not_seen = 0
    for f, (frame, row) in enumerate(zip(frames, rows)):
        expect(failures, 'frame number', str(first + f), row[0])
        expect(failures, 'time of frame %d' % f, f / rate, float(row[1]))
        for p, (x, y, z, residual) in enumerate(frame):
            cells = row[2 + 3 * p:5 + 3 * p]
            if residual < 0:
                not_seen += 1
                expect(failures, 'frame %d marker %d not seen' % (f, p), ['', '', ''], cells)
            else:
                expect(failures, 'frame %d marker %d' % (f, p), [x, y, z],
                       [as_float32(c) for c in cells])
                # The shortest text of a float has at most 9 significant digits.
                for c in cells:
                    digits = c.lstrip('-').replace('.', '').lstrip('0')
                    if len(digits.split('e')[0]) > 9:
                        failures.append('frame %d marker %d: %s is not the shortest text' % (f, p, c))
    expect(failures, 'c3d points not seen', 305, not_seen)
    gaps = 0
    for p in range(len(labels)):
        seen = [frame[p][3] >= 0 for frame in frames]
        # A gap inside the track: a run of frames not seen after a seen frame
        # that ends before the last frame.
        for f in range(1, len(seen)):
            if seen[f - 1] and not seen[f]:
                end = f
                while end < len(seen) and not seen[end]:
                    end += 1
                gaps += 1 if end < len(seen) else 0
    expect(failures, 'c3d gaps inside tracks', 34, gaps)
    expect(failures, 'c3d summary', True,
           summary.startswith('51 markers, 580 frames at 100 Hz in mm, Z-up, 1.0 % of points not seen;'))


def check_trc(program, folder, failures):
    source = os.path.join(folder, 'markers.trc')
    table = [line.split(',') for line in open(source).read().split('\n') if line]
    names = [table[3][c] for c in range(2, len(table[3]), 3) if table[3][c]]
    data = [row for row in table[5:] if any(row)]
    with tempfile.TemporaryDirectory() as out:
        # The shared TRC is Z-up, unlike OpenSim's own tables.
        summary, rows = convert(program, source, out, ['--z-up'])
    expect(failures, 'trc markers', 51, len(names))
    expect(failures, 'trc rows', len(data), len(rows) - 1)
    expect(failures, 'trc frames', 93, len(data))
    for row, converted in zip(data, rows[1:]):
        expect(failures, 'trc frame number', row[0], converted[0])
        for c in range(2, 2 + 3 * len(names)):
            text = row[c] if c < len(row) else ''
            expect(failures, 'trc frame %s column %d' % (row[0], c),
                   float(text) if text else '', float(converted[c]) if converted[c] else '')
    expect(failures, 'trc summary', True,
           summary.startswith('51 markers, 93 frames (the file claims 652) at 100 Hz in mm, Z-up,'))


def expect(failures, what, wanted, got):
    if wanted != got:
        failures.append('%s: expected %r, got %r' % (what, wanted, got))


def main():
    program, folder = sys.argv[1], sys.argv[2]
    failures = []
    check_c3d(program, folder, failures)
    check_trc(program, folder, failures)
    for failure in failures[:20]:
        print(failure)
    print('%d differences' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
