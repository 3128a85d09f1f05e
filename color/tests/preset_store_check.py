#!/usr/bin/env python3
"""Reads the application store that the presets test filled by the factory
install into an empty store with the independent store reader, and checks it
against the two factory tables as listed here: exactly 38 six-colour records
("P1CM".."P6CM", 76-byte payloads) and 38 twelve-colour records ("PaCM",
"PcCM", ... "PkCM", 148-byte payloads), ids 0-37 in each family, payload
version 1000 and the cells of the row's colour or sector, names from the
string ids (the test's strings are "S" + id; rows 28 and 29 of each table
swap 20028 and 20029). check_store() also reads the data source's own
application store, whose names are the German texts of the string table.

Usage: preset_store_check.py FOLDER
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'foundation', 'tests'))
from record_store_reader import read_store  # noqa: E402

R, G, B, C, M, Y = range(6)
# (colour, name id, {target: percent}) in the six-colour table's order.
ROWS = [
    (R, 20000, {R: 15}), (R, 20001, {R: -15}), (R, 20002, {R: -15, M: 15}), (R, 20003, {R: -15, M: -15}),
    (R, 20004, {M: -15}), (R, 20005, {Y: 15}), (R, 20006, {M: 15}), (R, 20007, {C: 15}),
    (G, 20008, {G: 35}), (G, 20009, {G: 25, M: -35, Y: 15}), (G, 20010, {G: -25}), (G, 20011, {M: -35}),
    (G, 20012, {C: 25, Y: -15}), (G, 20013, {M: 25}), (G, 20014, {C: -15, Y: 25}),
    (B, 20015, {B: 25}), (B, 20016, {B: 25, Y: -35}), (B, 20017, {B: -25}), (B, 20018, {M: 25}),
    (B, 20019, {Y: -35}), (B, 20020, {M: -25, Y: -25}),
    (C, 20021, {C: 25}), (C, 20022, {C: 25, Y: -15}), (C, 20023, {C: -15}), (C, 20024, {M: -15, Y: -10}),
    (C, 20025, {Y: 15}),
    (M, 20026, {M: 25}), (M, 20027, {C: -15, M: 25}), (M, 20029, {M: -15}), (M, 20028, {C: -15, M: 25, Y: -15}),
    (M, 20030, {Y: 15}), (M, 20031, {C: 15}),
    (Y, 20032, {Y: 25}), (Y, 20033, {C: -5, M: -15, Y: 25}), (Y, 20034, {Y: -15}),
    (Y, 20035, {C: -15, M: -15, Y: 25}), (Y, 20036, {M: 15, Y: 25}), (Y, 20037, {C: 15, Y: 25}),
]
# The names of the string ids 20000-20037 in the data source's string table.
GERMAN = dict(zip(range(20000, 20038), [
    'Rot st\xe4rker', 'Rot schw\xe4cher', 'Rot Magenta mehr', 'Rot Magenta weniger', 'Rot heller', 'Rot w\xe4rmer',
    'Rot k\xe4lter', 'Rot schmutziger', 'Gr\xfcn st\xe4rker', 'Gr\xfcn st\xe4rker +', 'Gr\xfcn schw\xe4cher',
    'Gr\xfcn heller', 'Gr\xfcn k\xe4lter', 'Gr\xfcn schmutziger', 'Gr\xfcn w\xe4rmer', 'Blau st\xe4rker',
    'Blau st\xe4rker +', 'Blau schw\xe4cher', 'Blau r\xf6ter', 'Blau heller', 'Blau himmelblau', 'Cyan st\xe4rker',
    'Cyan st\xe4rker +', 'Cyan schw\xe4cher', 'Cyan heller', 'Cyan gr\xfcner', 'Magenta st\xe4rker',
    'Magenta st\xe4rker +', 'Magenta heller', 'Magenta schw\xe4cher', 'Magenta w\xe4rmer', 'Magenta schmutziger',
    'Gelb st\xe4rker', 'Gelb st\xe4rker +', 'Gelb schw\xe4cher', 'Gelb heller', 'Gelb r\xf6ter', 'Gelb gr\xfcner']))
# The twelve-colour table: the same presets in the sectors 0, 2, ..., 10 (red, yellow, green, cyan, blue, magenta).
SECTOR_OF = {R: 0, Y: 2, G: 4, C: 6, B: 8, M: 10}


def expected(name_of=lambda id: 'S%d' % id):
    want = {}
    for number, (colour, name, cells) in enumerate(ROWS):
        values = [0] * 36
        for target, percent in cells.items():
            values[colour * 6 + target] = percent
        want[(b'P%dCM' % (colour + 1), number)] = (name_of(name), values)
    twelve = sorted(ROWS, key=lambda row: SECTOR_OF[row[0]])  # stable: table order within a sector
    for number, (colour, name, cells) in enumerate(twelve):
        sector = SECTOR_OF[colour]
        values = [0] * 72
        for target, percent in cells.items():
            values[sector * 6 + target] = percent
        want[(b'P' + bytes([ord('a') + sector]) + b'CM', number)] = (name_of(name), values)
    return want


def check_store(path, name_of):
    """Problems of the preset records of a store against the factory tables; other records are left alone."""
    records, problems = read_store(path)
    want = expected(name_of)
    got = {}
    for record in records:
        if not (len(record['type']) == 4 and record['type'][0:1] == b'P' and record['type'][2:] in (b'CM',)):
            continue
        data = record['data']
        count = (len(data) - 4) // 2
        version, = struct.unpack_from('<I', data)
        if version != 1000 or len(data) not in (76, 148):
            problems.append('%s %d: version %d, %d bytes' % (record['type'], record['id'], version, len(data)))
            continue
        got[(record['type'], record['id'])] = (record['name'].decode('latin-1'),
                                               list(struct.unpack_from('<%dh' % count, data, 4)))
    for key in sorted(set(want) | set(got)):
        if want.get(key) != got.get(key):
            problems.append('%s id %d: %s, wanted %s' % (key[0].decode(), key[1], got.get(key), want.get(key)))
    print('%s: %d preset records, %d expected' % (os.path.basename(path), len(got), len(want)))
    return problems


def main(folder):
    path = os.path.join(folder, 'PresetTest_FactoryInstallIntoAnEmptyStoreGivesBothTables.prf')
    if not os.path.exists(path):
        print('the presets test left no factory store at', path)
        return 1
    problems = check_store(path, lambda id: 'S%d' % id)
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
