#!/usr/bin/env python3
"""Checks the built-in film profiles of the module's resources: film.rc is
what its generator writes, and the profiles have the sizes and shapes the
library relies on (122 lists, first point all 0, last all 32767, rising
inputs; profile 2 the given three points).

Usage: film_resources_check.py resources_folder
"""
import io
import os
import sys
from contextlib import redirect_stdout


def main():
    folder = sys.argv[1]
    sys.dont_write_bytecode = True  # nothing written into the source tree
    sys.path.insert(0, folder)
    import film_profiles as gen  # noqa: E402

    failures = []
    buffer = io.BytesIO()
    out = io.TextIOWrapper(buffer)
    with redirect_stdout(out):
        gen.main()
        out.flush()
    with open(os.path.join(folder, 'film.rc'), 'rb') as f:
        if f.read() != buffer.getvalue():
            failures.append('film.rc differs from what film_profiles.py writes')

    ids = [1, 2] + [i for i, _ in gen.films()] + [2000]
    if len(ids) != 122:
        failures.append('%d profiles' % len(ids))
    for film_id in ids:
        curves = gen.profile(film_id)
        size = 6 + sum(2 + 12 * len(c) for c in curves)
        want = 44 if film_id == 2 else 444 if film_id == 2000 else 480
        if size != want:
            failures.append('profile %d has %d bytes' % (film_id, size))
        for c in curves:
            if c[0] != [0] * 6 or c[-1] != [32767] * 6:
                failures.append('profile %d: ends' % film_id)
            for k in range(1, len(c)):
                if any(c[k][v] <= c[k - 1][v] for v in (0, 2, 4)) or any(c[k][v] < c[k - 1][v] for v in (1, 3, 5)):
                    failures.append('profile %d: point %d falls' % (film_id, k))
    if gen.profile(2) != [[[0] * 6, [16448, 8256] * 3, [32767] * 6]]:
        failures.append('profile 2')
    names = [name for _, name in gen.films()]
    if names.count('Kodak T-Max 100 6x6') != 2 or len(set(names)) != len(names) - 1:
        failures.append('names: only 330 and 331 share one')
    for f in failures:
        print(f)
    print('%d profiles, %d failures' % (len(ids), len(failures)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
