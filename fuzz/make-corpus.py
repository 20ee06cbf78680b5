#!/usr/bin/env python3
"""Writes the seed corpora (corpus/<target>/) and dictionaries (dict/<target>.dict) of the fuzz targets.

Seeds are real files of the repository cut small (tests/data, data/sample) and hand-made edge cases,
each behind the control bytes its target takes from the front of an input (see the target's header).
Run from anywhere: fuzz/make-corpus.py. It replaces the generated files; inputs kept from fuzzing runs
(corpus/<target>/regression-*) are left alone.
"""
import os
import re
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Selector bytes of fuzz::VersionOf: 10510, 11000, 11330, 11500, 11550, 12000, 12100.
V10510, V11000, V11330, V11500, V11550, V12000, V12100 = range(7)
# Identifier bytes of the airport reader: KSEA, KBIX, LOWI, W28, CYXX, 1.
KSEA, KBIX, LOWI, W28, CYXX = range(5)


def read(relative):
    with open(os.path.join(ROOT, relative), 'rb') as f:
        return f.read()


def lines_of(data):
    return data.split(b'\n')


def airport_rows(data, icao):
    """The rows of one airport of an apt.dat, header included."""
    rows, inside = [], False
    for line in lines_of(data):
        fields = line.split()
        if len(fields) >= 5 and fields[0] in (b'1', b'16', b'17'):
            if inside:
                break
            inside = fields[4] == icao
        if inside:
            rows.append(line)
    return rows


def cut_airport(rows, per_code, default=2, nodes=5):
    """Keeps the first rows of every row code; of the kept pavements and lines, the first nodes and
    the end node."""
    kept, counts, keep_line, line_nodes = [], {}, False, 0
    for row in rows:
        code = row.split()[0] if row.split() else b''
        if code in (b'110', b'120', b'130'):  # pavement, painted line and boundary: nodes follow
            counts[code] = counts.get(code, 0) + 1
            keep_line = counts[code] <= per_code.get(code, default)
            line_nodes = 0
            if keep_line:
                kept.append(row)
            continue
        if code in (b'111', b'112', b'113', b'114', b'115', b'116'):
            line_nodes += 1
            if keep_line and (line_nodes <= nodes or code in (b'113', b'114', b'115', b'116')):
                kept.append(row)
            continue
        counts[code] = counts.get(code, 0) + 1
        if counts[code] <= per_code.get(code, default):
            kept.append(row)
    return kept


def apt_file(header, rows_list):
    return b'\n'.join(header + [r for rows in rows_list for r in rows] + [b'99', b''])


def seeds_dir(target):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        if not name.startswith('regression-'):
            os.remove(os.path.join(folder, name))
    return folder


def write_seeds(target, seeds):
    folder = seeds_dir(target)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


def write_dict(target, words):
    os.makedirs(os.path.join(HERE, 'dict'), exist_ok=True)
    with open(os.path.join(HERE, 'dict', target + '.dict'), 'w') as f:
        f.write('# Row codes and keywords of the files fuzz_%s reads (make-corpus.py writes this file).\n' % target)
        for i, word in enumerate(words):
            escaped = ''.join(c if 32 <= ord(c) < 127 and c not in '"\\' else '\\x%02x' % ord(c) for c in word)
            f.write('w%d="%s"\n' % (i, escaped))


# MARK: apt.dat

PNW = read('tests/data/apt/pnw.apt.dat')
KBIX_FILE = read('tests/data/apt/kbix-gateway.apt.dat')
PNW_HEADER = lines_of(PNW)[:3]
KBIX_HEADER = lines_of(KBIX_FILE)[:3]
KSEA_ROWS = cut_airport(airport_rows(PNW, b'KSEA'), {b'100': 3, b'1300': 4, b'15': 3, b'1100': 4, b'120': 3,
                                                     b'21': 1})
W28_ROWS = cut_airport(airport_rows(PNW, b'W28'), {})
CYXX_ROWS = cut_airport(airport_rows(PNW, b'CYXX'), {b'120': 2})
KBIX_ROWS = cut_airport(airport_rows(KBIX_FILE, b'KBIX'), {b'1300': 4, b'120': 3, b'1110': 3, b'1302': 2,
                                                          b'1201': 3, b'1202': 3, b'1204': 3})
PNW_CUT = apt_file(PNW_HEADER, [CYXX_ROWS, KSEA_ROWS, W28_ROWS])
KBIX_CUT = apt_file(KBIX_HEADER, [KBIX_ROWS])
KSEA_ONLY = apt_file(PNW_HEADER, [KSEA_ROWS])


def apt(rows):
    return b'I\n1000 Version - data cycle 2013.10, test\n\n' + rows + b'99\n'


def runway(name1, lat1, lon1, name2, lat2, lon2, displaced=b'0.00', blast=b'60.00'):
    return b'100 45.72 1 0 0.25 1 3 1 %s %s %s %s %s 3 10 1 1 %s %s %s 0.00 0.00 3 10 1 1\n' % (
        name1, lat1, lon1, displaced, blast, name2, lat2, lon2)


KSEA_HEAD = b'1 433 1 0 KSEA Seattle Tacoma Intl\n'
EDGE_AIRPORTS = {
    'header-identifier-is-last-field': apt(b'1 433 1 0 KSEA\n54 11990 TWR\n'),
    'no-tower-only-radio-information': apt(KSEA_HEAD + b'51 12290 UNICOM\n53 12160 GND\n'),
    'frequencies-833': apt(KSEA_HEAD + b'1054 123455 TWR\n1053 121700 GND\n1052 128000 DEL\n54 13700 TWR\n'
                                       b'50 11800 ATIS\n55 11930 APP\n56 12010 DEP\n'),
    'runway-due-east-and-north': apt(KSEA_HEAD + runway(b'09', b'47.0', b'-122.0', b'27', b'47.0', b'-121.9') +
                                     runway(b'36', b'47.0', b'-122.0', b'18', b'47.1', b'-122.0')),
    'runway-both-ends-one-spot': apt(KSEA_HEAD + runway(b'01', b'47.0', b'-122.0', b'19', b'47.0', b'-122.0')),
    'runway-row-short': apt(KSEA_HEAD + b'100 45.72 1 0 0.25 1 3 1 16L 47.46 -122.31\n'),
    'parkings-31': apt(KSEA_HEAD + b''.join(b'1300 47.44 -122.30 %d gate jets A%d\n' % (i, i) for i in range(31)) +
                       b'15 47.44 -122.30 90 Tie down 3\n1300 47.44 -122.30 90 hangar props H1\n'),
    'runway-use-both-operations': apt(KSEA_HEAD + b'1100 34R 12345 arrivals|departures jets 000360 0 1500 ok\n'
                                      b'1110 16L 118300 departures jets 340180 0 1500\n1100 16C 1 arr\n'),
    'white-line-with-end-node': apt(KSEA_HEAD + b'120 Taxi Line A join\n111 47.1 -122.1 20\n'
                                    b'115 47.2 -122.2\n120 Centerline for B, Taxiline\n111 47.3 -122.3 1\n'
                                    b'112 47.3 -122.3 47.31 -122.31 51\n116 47.2 -122.2 47.21 -122.21\n'),
    'crossing-lines': apt(KSEA_HEAD + b'120 A\n111 47.00001 -122.0 1\n115 47.1 -122.0\n'
                          b'120 B\n111 47.05 -122.05 1\n111 47.00002 -122.00003 1\n115 47.0 -121.9\n'),
    'end-node-first': apt(KSEA_HEAD + b'115 47.2 -122.2\n116 47.2 -122.2 47.3 -122.3\n'),
    'numbers-out-of-range': apt(KSEA_HEAD + b'54 1e400 TWR\n53 nan GND\n52 -inf DEL\n' +
                                runway(b'16L', b'1e39', b'-1e39', b'34R', b'nan', b'inf') +
                                b'1300 1e39 -1e39 1e39 gate jets X\n120 A\n111 91 181 1\n111 -90 -180 51\n'),
    'line-endings-cr': (KSEA_ONLY[:1200]).replace(b'\n', b'\r'),
    'line-endings-crlf': (KSEA_ONLY[:1200]).replace(b'\n', b'\r\n'),
    'overlong-row': apt(KSEA_HEAD + b'1300 47.44 -122.30 90 gate jets ' + b'A' * 2100 + b'\n54 11990 TWR\n'),
    'truncated-in-a-row': apt(KSEA_HEAD + b'54 11990 TWR\n')[:-8] + b'1300 47.4',
    'nul-bytes': apt(KSEA_HEAD.replace(b'Seattle', b'Sea\0ttle') + b'54 119\x0090 TWR\n'),
    'heliport-and-seaplane-base': apt(b'16 0 0 0 W28 Seaplane\n17 10 0 0 KSEA Heliport\n'
                                      b'102 H1 47.0 -122.0 0 10 10 1 1 0 0 0\n1 5 0 0 LOWI Innsbruck\n'),
    'tabs-and-signs': apt(b'\t+1\t433 1 0\tKSEA  Seattle\n01 1 0 0 KBIX\n 1 1 0 0 W28\n'),
}


def apt_reader_seed(offset, version, icao, data):
    return struct.pack('<HBB', offset, version, icao) + data


def header_offset(data, icao):
    at = data.find(b' ' + icao)
    return data.rfind(b'\n', 0, at) + 1


apt_seeds = {
    'kbix-gateway-cut': apt_reader_seed(header_offset(KBIX_CUT, b'KBIX'), V12000, KBIX, KBIX_CUT),
    'kbix-gateway-cut-from-start-xp11': apt_reader_seed(0, V11000, KBIX, KBIX_CUT),
    'pnw-ksea': apt_reader_seed(header_offset(PNW_CUT, b'KSEA'), V11330, KSEA, PNW_CUT),
    'pnw-w28-last': apt_reader_seed(header_offset(PNW_CUT, b'W28'), V12000, W28, PNW_CUT),
    'pnw-offset-mid-line': apt_reader_seed(header_offset(PNW_CUT, b'KSEA') + 7, V12000, KSEA, PNW_CUT),
    'pnw-offset-past-end': apt_reader_seed(len(PNW_CUT) + 1, V12000, KSEA, PNW_CUT),
    'empty-file': apt_reader_seed(0, V12000, KSEA, b''),
}
for name, data in EDGE_AIRPORTS.items():
    apt_seeds[name] = apt_reader_seed(0, V12100 if 'frequencies' not in name else V11000, KSEA, data)
write_seeds('AptReader', apt_seeds)

APT_WORDS = ['I\n', 'A\n', '\r\n', '\r', '1 ', '16 ', '17 ', '\n1 ', '\n16 ', '\n17 ', '1000 Version', '1100 Version',
             '50 ', '51 ', '52 ', '53 ', '54 ', '55 ', '56 ', '1050 ', '1051 ', '1052 ', '1053 ', '1054 ', '1055 ',
             '1056 ', '100 ', '101 ', '102 ', '10 ', '15 ', '1300 ', '1302 ', '120 ', '111 ', '112 ', '113 ', '114 ',
             '115 ', '116 ', '1100 ', '1110 ', '99', 'datum_lat', 'datum_lon', 'gate', 'GATE', 'terminal', 'apron',
             'ramp', 'misc', 'hangar', 'tie_down', 'Taxi', 'join', 'Centerline for', 'Taxiline', 'Path', ',',
             'departures', 'arrivals', 'arrivals|departures', 'jets', '000360', '47.46', '-122.31', '0.00',
             '1e38', 'nan', 'inf', '-', '+', 'KSEA', 'KBIX', 'W28', 'CYXX', 'LOWI', ' 51', ' 1', ' 20']
write_dict('AptReader', APT_WORDS)

# MARK: taxi route search


def taxi_route_seed(version, icao, start, runway_end, data):
    return struct.pack('<BBBB', version, icao, start, runway_end) + data


TAXI_NETWORK = apt(KSEA_HEAD + runway(b'16', b'47.003', b'-122.0', b'34', b'46.98', b'-122.0') +
                   b'1300 47.002 -122.0 180 gate jets A1\n1200 network\n'
                   b'1201 47.000 -122.000 both 1 hold\n1201 47.001 -122.000 both 2 mid\n'
                   b'1201 47.002 -122.000 both 3 far\n1201 46.9995 -122.000 both 9 rwy\n'
                   b'1201 46.9995 -121.999 both 10 rwy\n1202 9 10 twoway runway 16/34\n'
                   b'1202 1 9 twoway taxiway K\n1204 departure 16,34\n1202 3 2 twoway taxiway L\n'
                   b'1202 2 1 oneway taxiway_E #M*\n1202 3 10 twoway taxiway N\n1202 3 3 twoway taxiway O\n')
TAXI_LINES = apt(KSEA_HEAD + runway(b'16', b'47.003', b'-122.0', b'34', b'46.98', b'-122.0') +
                 b'15 47.000 -122.003 90 Gate 1\n120 Centreline for Taxi A\n111 47.0 -122.003 1\n111 47.0 -122.0 1\n'
                 b'115 47.0 -121.999 1\n120 Centreline for Taxi B\n111 47.0 -122.0 51\n111 47.002 -122.0\n'
                 b'113 47.003 -122.0\n120 Hold\n111 47.0031 -122.0 4\n115 47.0032 -122.0\n')
taxi_seeds = {
    'network-one-way-and-runway': taxi_route_seed(V12000, 0, 1, 0, TAXI_NETWORK),
    'network-from-a-node': taxi_route_seed(V12000, 0, 2 << 1, 1, TAXI_NETWORK),
    'painted-lines-from-a-gate': taxi_route_seed(V11000, 0, 1, 0, TAXI_LINES),
    'kbix-gateway-cut': taxi_route_seed(V12000, 1, 0, 0, KBIX_CUT),
}
write_seeds('TaxiRoute', taxi_seeds)
write_dict('TaxiRoute', APT_WORDS + ['1200 ', '1201 ', '1202 ', '1204 ', 'both', 'junc', 'oneway', 'twoway',
                                     'runway', 'taxiway', 'taxiway_E', 'departure', 'arrival', 'ils', '16,34'])


def scenery_index_seed(filler, filler_length, version, data):
    return struct.pack('<BHB', filler, filler_length, version) + data


index_seeds = {
    'pnw-three-airports': scenery_index_seed(0, 0, V12000, PNW_CUT),
    'kbix-gateway-cut': scenery_index_seed(0, 0, V11000, KBIX_CUT),
    'across-block-whole-lines': scenery_index_seed(0xfe, 0, V12000, PNW_CUT[:600]),
    'across-block-after-long-line': scenery_index_seed(0xff, 100, V12000, b'\n1 10 1 0 KBFI Boeing\n' + PNW_CUT[:400]),
    'header-line-across-block': scenery_index_seed(0xfe, 4000, V12000, b'x\n' * 2 + b'1 433 1 0 KSEA Seattle\n' * 3),
    'first-byte-not-i': scenery_index_seed(0, 0, V12000, b'X' + PNW_CUT[1:400]),
    'first-byte-a-cr-only': scenery_index_seed(0, 0, V12000, b'A' + PNW_CUT[1:800].replace(b'\n', b'\r')),
    'duplicates-and-signs': scenery_index_seed(0, 0, V12000, b'I\n1 1 0 0 KSEA one\n+1 2 0 0 KSEA two\n'
                                               b'01 3 0 0 KBIX\n\t16\t1 0 0 W28\n17 0 0 0\n1 0 0 0 KSEA three\r\n'
                                               b'1.5 0 0 0 X1\n10 0 0 0 X2\n161 0 0 0 X3\n 17 0 0 0 X4 name\n'),
    'vertical-tab-and-form-feed': scenery_index_seed(0, 0, V12000, b'I\n\x0b1 0 0 0 KVT\n\x0c16 0 0 0 KFF\n'),
}
for name in ('header-identifier-is-last-field', 'nul-bytes', 'overlong-row', 'line-endings-cr', 'tabs-and-signs',
             'heliport-and-seaplane-base'):
    index_seeds[name] = scenery_index_seed(0, 0, V12000, EDGE_AIRPORTS[name])
write_seeds('SceneryIndex', index_seeds)
write_dict('SceneryIndex', APT_WORDS)

# MARK: earth_nav.dat and the AIRAC cycle

NAV_TEST = read('tests/data/navdb/earth_nav.dat')
NAV_SAMPLE = read('data/sample/navdata/earth_nav.dat')
FIX_SAMPLE = read('data/sample/navdata/earth_fix.dat')
FIX_TEST = read('tests/data/navdb/earth_fix.dat')


def localizer_rows(data, count):
    rows = [l for l in data.split(b'\n') if l.lstrip().startswith((b'4 ', b'5 '))]
    return rows[:count]


NAV_1200 = b'\n'.join(NAV_SAMPLE.split(b'\n')[:8] + localizer_rows(NAV_SAMPLE, 12) + [b'99', b''])
NAV_810 = (b'I\n810 Version - data cycle 2008.01\n\n'
           b'4  47.46403060 -122.31078900    356 11030  18   180.000 ISNQ KSEA 16L ILS-cat-I\n'
           b'5  47.43000000 -122.30000000    356 11150  18   360.000 IBEJ KSEA 34R LOC\n'
           b'6  47.46 -122.31 356 11030 10 300180.000 ISNQ KSEA 16L GS\n99\n')
NAV_1100 = (b'I\n1100 Version - data cycle 1709\n\n'
            b'4  47.46403060 -122.31078900    356 11030  18   180.000 ISNQ KSEA K1 16L ILS-cat-I\n'
            b'5  47.43 -122.30 356 11150 18 360.000 IBEJ KSEA K1 34R LOC\n99\n')
NAV_EDGES = (b'I\n1150 Version\n\n'
             b'4 47.4 -122.3 356 11030 18 1167.5 IXX KSEA K1 16L ILS\n'   # 3 x 360 + 87.5
             b'4 47.4 -122.3 356 11030 18 -87.5 IXX KSEA K1\n'            # too short from 11000 on
             b'5 1e39 nan 0 0 0 inf IYY KSEA K1 34R\n'
             b'4 47.4\n5\n4 a b c d e f g h i j k\n99\n')
nav_seeds = {
    'sample-1200': bytes([V12000]) + NAV_1200,
    'test-1200-crlf': bytes([V12100]) + NAV_TEST[:3000],
    'layout-810': bytes([V10510]) + NAV_810,
    'layout-1100': bytes([V11000]) + NAV_1100,
    'layout-1100-read-as-1150': bytes([V11550]) + NAV_1100,
    'bearings-and-short-rows': bytes([V11500]) + NAV_EDGES,
    'not-a-data-file': bytes([V12000]) + b'<html>404</html>\n4 1 2 3 4 5 6 7 8 9 10\n',
}
write_seeds('NavDatIls', nav_seeds)
NAV_WORDS = ['I\n', 'A\n', '\r\n', ' 4 ', ' 5 ', '4 ', '5 ', '6 ', '2 ', '3 ', '12 ', '13 ', '99', '810 Version',
             '1100 Version', '1150 Version', '1200 Version', 'ILS-cat-I', 'LOC', 'KSEA', 'K1', 'ENRT', '16L',
             '123840.337', '47.46403060', '-122.31078900', '1e39', 'nan', 'inf']
write_dict('NavDatIls', NAV_WORDS)

cycle_seeds = {
    'earth-nav-1200': NAV_SAMPLE[:400],
    'earth-fix-1200': FIX_SAMPLE[:400],
    'apt-dat-1000': PNW[:300],
    'cycle-and-build': b'I\n1100 Version - data cycle 2013, build 20201014\n',
    'version-on-third-line': b'A\r\n\r\n1200 Version - data cycle 1911\r\n',
    'version-on-fourth-line': b'I\nx\ny\n1200 Version - data cycle 1911\n',
    'comma-early': b'I\n12,00 Version 1911\n',
    'long-digits': b'I\n1100 Version ' + b'9' * 60 + b'\n',
    'no-line-end': b'I\n1200 Version - data cycle 2401',
    'overlong-first-line': b'I' * 3000 + b'\n1200 Version - data cycle 2401\n',
}
write_seeds('AiracCycle', cycle_seeds)
write_dict('AiracCycle', ['Version', ' Version - data cycle ', ', build ', ',', '\r\n', 'I\n', '1100', '1200'])

# MARK: scenery_packs.ini

packs_seeds = {
    'xplane-12': b'I\n1000 Version\nSCENERY\n\nSCENERY_PACK Custom Scenery/Fuzz Airport A/\n'
                 b'SCENERY_PACK_DISABLED Custom Scenery/FuzzB/\nSCENERY_PACK *GLOBAL_AIRPORTS*\n'
                 b'SCENERY_PACK Custom Scenery/zzz overlay/\n',
    'xplane-11-crlf': b'I\r\n1000 Version\r\nSCENERY\r\n\r\nSCENERY_PACK Custom Scenery/FuzzB/\r\n'
                      b'SCENERY_PACK Custom Scenery/Fuzz Airport A/\r\n',
    'absolute-and-odd-paths': b'I\n1000 Version\nSCENERY\n\nSCENERY_PACK /opt/scenery/Mesh/\n'
                              b'SCENERY_PACK\tCustom Scenery\\FuzzB\\\nSCENERY_PACK \n'
                              b'SCENERY_PACK_DISABLED\nSCENERY_PACK Custom Scenery/Fuzz Airport A////\n'
                              b'SCENERY_PACK ../../elsewhere/\nSCENERY_PACKAGE x\n',
    'overlong-line': b'I\n1000 Version\nSCENERY\n\nSCENERY_PACK Custom Scenery/' + b'x' * 2100 + b'/\n'
                     b'SCENERY_PACK Custom Scenery/FuzzB/\n',
    'empty': b'',
}
write_seeds('SceneryPacks', packs_seeds)
write_dict('SceneryPacks', ['SCENERY_PACK ', 'SCENERY_PACK_DISABLED ', 'SCENERY_PACK\t', '*GLOBAL_AIRPORTS*',
                            'Custom Scenery/', 'Fuzz Airport A', 'FuzzB', 'zzz overlay', '/', '\\', '\r\n',
                            'I\n1000 Version\nSCENERY\n\n'])

# MARK: Settings.txt

SETTINGS_SOURCE = read('src/ui/SettingsFile.cpp').decode()
KEYS = [k for k in re.findall(r'(?:INT_KEY|FLOAT_KEY|TEXT_KEY)\((\w+)\)', SETTINGS_SOURCE) if k != 'var'] + \
       re.findall(r'\{"(\w+)", SETTING_', SETTINGS_SOURCE)
FLOAT_KEYS = set(re.findall(r'FLOAT_KEY\((\w+)\)', SETTINGS_SOURCE))
TEXT_KEYS = set(re.findall(r'TEXT_KEY\((\w+)\)', SETTINGS_SOURCE))


def settings_line(key):
    value = '0.5' if key in FLOAT_KEYS else ('westeurope' if key in TEXT_KEYS else '1')
    return '%s#%s\n' % (key, value)


ALL_SETTINGS = ''.join(settings_line(k) for k in KEYS if k not in ('latestVersion',)).encode()
settings_seeds = {
    'every-key': ALL_SETTINGS,
    'every-key-crlf': ALL_SETTINGS.replace(b'\n', b'\r\n'),
    'positions-and-version': b'frequenciesPositionLeft#200\nfrequenciesPositionTop#700\ndialogPositionLeft#5\n'
                             b'dialogPositionTop#5\nlatestVersion#2.1.1\ndeveloperDEBUG#1\nuserDebug#1\n',
    'bad-values': b'FLTolerance#abc\noffsetFirstTurn#nan\nholdingPointRadius#inf\noffsetFirstReadback#1e-45\n'
                  b'maxHeadingError#-2147483649\ntdDescentSpeed#99999999999999999999\ngQNH# +7\n'
                  b'azureKey#' + b'k' * 300 + b'\nazureRegion#' + b'r' * 40 + b'\nlatestVersion#' + b'9' * 40 + b'\n',
    'hash-runs-and-unknown-keys': b'##gQNH##0##\n#userDebug#1\nnoSuchKey#3\nFLTolerance\n#\n\n##\n'
                                  b'azureKey#a#b\nazureRegion#\x00x\n',
    'float-formats': b'offsetFirstTurn#0.123456789\nholdingPointRadius#3.4e38\noffsetFirstReadback#-0\n',
}
write_seeds('SettingsFile', settings_seeds)
write_dict('SettingsFile', KEYS + ['#', '##', '\r\n', 'developerDEBUG', '-2147483648', '2147483647', '1e-45',
                                   '3.40282e+38', '0.5', 'nan', 'inf', '-'])

# MARK: simhost's navigation database

SLOT_NAV, SLOT_FIX, SLOT_GLOBAL_APT, SLOT_PACK_APT, SLOT_PACKS_INI = range(5)
WHOLE_DATABASE = 0x80


def simhost_seed(slot, version_byte, data):
    return bytes([slot, version_byte]) + data


NAV_MIXED = b'\n'.join(NAV_SAMPLE.split(b'\n')[:40] + [b'99', b''])
FIX_CUT = b'\n'.join(FIX_SAMPLE.split(b'\n')[:40] + [b'99', b''])
SIMHOST_APT_EDGES = (b'I\n1100 Version\n\n1 433 1 0 KSEA Seattle\n1302 datum_lat 47.45\n1302 datum_lon nan\n'
                     b'1 10 1 0 KBFI\n101 50 1 W1 47.5 -122.3 W2 47.6 -122.3\n'
                     b'16 0 0 0 HELI\n102 H1 47.0 -122.0 0 10\n17 0 0 0 NORUNWAY\n'
                     b'10 47.1 -122.1 16x 0 0\n10 47.1 -122.1 xxx 0\n1 5 1 0 OLD\n10 47.2 -122.2 16 1\n'
                     b'100 1 2 3 4 5 6 7 8 95 -200 11 12 13 14 15 16 17 18 1 1\n99\n')
simhost_seeds = {
    'earth-nav-1200': simhost_seed(SLOT_NAV | WHOLE_DATABASE, 1, NAV_MIXED),
    'earth-nav-810': simhost_seed(SLOT_NAV, 0, NAV_810),
    'earth-nav-edges': simhost_seed(SLOT_NAV, 1, NAV_EDGES),
    'earth-fix-1200': simhost_seed(SLOT_FIX | WHOLE_DATABASE, 1, FIX_CUT),
    'earth-fix-600': simhost_seed(SLOT_FIX, 0, b'I\n600 Version\n47.52 -122.30 SUMMA\n -0.5 180.0 DATEL\n'
                                               b'91 0 BAD\n47 x\n99\n'),
    'global-apt-1000': simhost_seed(SLOT_GLOBAL_APT | WHOLE_DATABASE, 1, PNW_CUT),
    'global-apt-edges-xp11': simhost_seed(SLOT_GLOBAL_APT, 0, SIMHOST_APT_EDGES),
    'pack-apt-1100': simhost_seed(SLOT_PACK_APT, 1, KBIX_CUT),
    'packs-ini': simhost_seed(SLOT_PACKS_INI | WHOLE_DATABASE, 1,
                              b'I\n1000 Version\nSCENERY\n\nSCENERY_PACK *GLOBAL_AIRPORTS*\n'
                              b'SCENERY_PACK Custom Scenery/Fuzz Pack/\nSCENERY_PACK_DISABLED Custom Scenery/x/\n'),
    'bom-and-no-version': simhost_seed(SLOT_NAV, 1, b'\xef\xbb\xbfI\r\nnot a version\r\n'),
    'earth-nav-edges-whole-database': simhost_seed(SLOT_NAV | WHOLE_DATABASE, 0, NAV_EDGES),
    'pack-apt-edges-whole-database': simhost_seed(SLOT_PACK_APT | WHOLE_DATABASE, 1, SIMHOST_APT_EDGES),
    'packs-ini-pack-disabled': simhost_seed(SLOT_PACKS_INI, 0, b'I\n1000 Version\nSCENERY\n\n'
                                                               b'SCENERY_PACK_DISABLED Custom Scenery/Fuzz Pack/\n'
                                                               b'SCENERY_PACK Custom Scenery/missing/\n'),
}
write_seeds('SimhostNavData', simhost_seeds)
write_dict('SimhostNavData', sorted(set(APT_WORDS + NAV_WORDS + ['600 Version', '1101 Version', 'SCENERY_PACK ',
                                                                 'SCENERY_PACK_DISABLED ', '*GLOBAL_AIRPORTS*',
                                                                 'Custom Scenery/Fuzz Pack/', '\xef\xbb\xbf'])))

# MARK: Voices.txt

VOICES = read('data/plugin/Voices.txt')
voices_seeds = {
    'shipped': VOICES,
    'shipped-crlf': VOICES.replace(b'\n', b'\r\n'),
    'edges': b'user#  en-GB-RyanNeural \t\nuser#\nrandom00#zero\nrandom16#sixteen\nrandom1#short\nrandom01#'
             + b'x' * 40 + b'\nrandom02#en-US-GuyNeural#extra\n##random03##en-US-AriaNeural##\r\r\n'
             b'random04#\t\nRANDOM05#upper\nrandom15#last\nrandom0x#bad\n#\n\n',
    'no-voices': b'# nothing but comments\nuser\nrandom01\n',
}
write_seeds('VoicesFile', voices_seeds)
write_dict('VoicesFile', ['user#', '#', '##', '\r\n'] + ['random%02d#' % i for i in range(0, 17)] +
           ['en-US-', 'en-GB-', 'Neural', 'RyanNeural'])

# MARK: acc.dat

ACC = read('data/plugin/acc.dat')
ACC_HEAD = b''.join(line + b'\n' for line in lines_of(ACC)[:12])
ACC_SEATTLE = b''.join(line + b'\n' for line in lines_of(ACC) if b' KSEA ' in line or b' S20 ' in line)
acc_seeds = {
    'shipped-head': bytes([V12000, 0, 0]) + ACC_HEAD,
    'shipped-seattle-old-radios': bytes([V11000, 1, 0]) + ACC_SEATTLE,
    'shipped-seattle-crlf': bytes([V11330, 0, 0]) + ACC_SEATTLE.replace(b'\n', b'\r\n'),
    'edges': bytes([V12000, 0, 84]) + b'# KSEA:Comment Center:121.500\nXS20 KSEA:Seattle Center:120.100\n'
             b'KSEA:Second Center: 133.300 \nKSEA:Broken:999.9\nKSEA::125.100\nKSEA\nKSEA:Far:127.125:extra\n'
             b'KSEA:Empty:\n' + b'K' * 5000 + b' KSEA:Long Line Center:118.000\nKSEA:Top:136.990\n',
    'clash-only': bytes([V12100, 2, 4]) + b'KPDX:Portland Center:118.100\n',
    'invalid-identifier': bytes([V11500, 4, 0]) + b'-X:Dash Center:125.000\n',
}
write_seeds('AccFile', acc_seeds)
write_dict('AccFile', [':', ' ', '#', '\r\n', 'KSEA', 'S20', 'XS20', 'KPDX', 'Center', '118.000', '136.990', '.'])

# MARK: ICAOCodes.dat

ICAO_CODES = read('data/plugin/ICAOCodes.dat')
ICAO_HEAD = b'\n'.join(lines_of(ICAO_CODES)[:5]) + b'\n'
ICAO_SOME = b''.join(line + b'\n' for line in lines_of(ICAO_CODES)
                     if line[:4] in (b'ASA;', b'BAW;', b'DAL;', b'QXE;', b'UAL;', b'SWA;'))


def callsign_seed(code, data):
    return bytes([len(code)]) + code + data


callsign_seeds = {
    'shipped-head-alaska': callsign_seed(b'asa', ICAO_HEAD + ICAO_SOME),
    'shipped-crlf-speedbird': callsign_seed(b'BAW', (ICAO_HEAD + ICAO_SOME).replace(b'\n', b'\r\n')),
    'two-letters-last-wins': callsign_seed(b'AS', ICAO_SOME),
    'not-found': callsign_seed(b'ZZZ', ICAO_SOME),
    'edges': callsign_seed(b'DAL', b'DAL\nDAL;\nDAL;Delta\nDAL;;\nDAL;Delta;DE@LTA\nDAL;Delta;' + b'X' * 200 +
                           b'\n;;DELTA\nDAL;Delta;DELTA;more;fields\n#DAL;x;y\nDAL;a\x00b;ZERO\n'),
}
write_seeds('CallsignsFile', callsign_seeds)
write_dict('CallsignsFile', [';', '#', '\r\n', 'ASA', 'BAW', 'DAL', 'ALASKA', 'SPEEDBIRD'])

# MARK: FlightPlan.txt and FlightSettings.txt


def flight_plan_seed(plan, settings):
    return struct.pack('<H', len(plan)) + plan + settings


SETTINGS = b'FL#160\nICAOFlightName#asa\nICAOFlightNumber#123\nTransLevelFLDep#180\nTransLevelFLArr#180\n'
flight_plan_seeds = {
    'filed': flight_plan_seed(b'KSEA SID SEA MCKEN ONALS MALAY.FL.120 COUGA ROARK BTG STAR KPDX\n', SETTINGS),
    'empty-route-crlf': flight_plan_seed(b'KSEA SID  STAR KPDX\r\n', SETTINGS.replace(b'\n', b'\r\n')),
    'starr-and-asid': flight_plan_seed(b'ASID SID OLM STARR STAR KBFI\n', b'FL#-5\nFL#+7\nTransLevelFLDep#50\n'),
    'broken-marks': flight_plan_seed(b'KSEA SIDOLM STAR\nKSEA SID OLM STARKPDX\n', b'FL#12#3\nFL#abc\n#\n##\n'),
    'long-route': flight_plan_seed(b'KSEA SID ' + b'SEA BTG ' * 80 + b'STAR KPDX\n',
                                   b'ICAOFlightName#' + b'N' * 40 + b'\nICAOFlightNumber#' + b'9' * 20 + b'\n'),
    'punctuation-and-nul': flight_plan_seed(b'KSEA SID mcken/onals\x00x STAR kpdx-1\n',
                                            b'ICAOFlightName#Al@ska#\nICAOFlightNumber#1\x002\nFL#99999999999\n'),
}
write_seeds('FlightPlanFiles', flight_plan_seeds)
write_dict('FlightPlanFiles', [' SID ', ' STAR ', '.FL.', '\r\n', 'FL#', 'ICAOFlightName#', 'ICAOFlightNumber#',
                               'TransLevelFLDep#', 'TransLevelFLArr#', '#'])

# MARK: wave files


def le16(v):
    return struct.pack('<H', v & 0xffff)


def le32(v):
    return struct.pack('<I', v & 0xffffffff)


def wave(channels, bits, rate, samples, format_tag=1, fmt_extra=b'', before_data=b'', riff_size=None,
         data_size=None):
    fmt = le16(format_tag) + le16(channels) + le32(rate) + le32(rate * channels * bits // 8) + \
        le16(channels * bits // 8) + le16(bits) + fmt_extra
    body = b'WAVEfmt ' + le32(len(fmt)) + fmt + before_data + b'data' + \
        le32(len(samples) if data_size is None else data_size) + samples
    return b'RIFF' + le32(len(body) if riff_size is None else riff_size) + body


SINE = b''.join(le16(int(12000 * __import__('math').sin(i / 3.0))) for i in range(300))
wave_seeds = {
    'service-mono-16-24khz': wave(1, 16, 24000, SINE),
    'stereo-8-11khz': wave(2, 8, 11025, bytes(range(256))),
    'list-chunk-and-odd-sizes': wave(1, 8, 8000, b'\x80' * 7,
                                     before_data=b'LIST' + le32(5) + b'INFOx\x00'),
    'fmt-extension': wave(1, 16, 22050, SINE[:100], fmt_extra=le16(0)),
    'partial-frame': wave(2, 16, 44100, SINE[:103]),
    'data-runs-past-the-end': wave(1, 16, 24000, SINE[:64], data_size=100000),
    'riff-longer-than-file': wave(1, 16, 24000, SINE[:64], riff_size=0xfffffff0),
    'float-format': wave(1, 32, 24000, SINE[:64], format_tag=3),
    'zero-channels-rate': wave(0, 16, 0, SINE[:16]),
    'twenty-four-bit': wave(1, 24, 48000, SINE[:96]),
    'fmt-too-short': b'RIFF' + le32(24) + b'WAVEfmt ' + le32(8) + le16(1) + le16(1) + le32(8000) + b'data' + le32(0),
    'riff-not-first': b'JUNK' + le32(4) + b'abcd' + wave(1, 8, 8000, b'\x80' * 16),
    'rifx-and-empty': b'RIFX' + le32(4) + b'WAVE',
    'not-a-wave': b'<Error><Code>401</Code><Message>Unauthorized</Message></Error>',
}
write_seeds('WaveLoader', wave_seeds)
write_dict('WaveLoader', ['RIFF', 'WAVE', 'fmt ', 'data', 'LIST', 'JUNK', '\x10\x00\x00\x00', '\x01\x00',
                          '\x02\x00', '\x08\x00', '\x10\x00', '\xc0\x5d\x00\x00', '\xff\xff\xff\xff'])

# MARK: phrase markup and the dialogue box

PHRASES = [
    b'@DLH#123#@, climb and maintain flight level #350#, turn left heading #270#',
    b'@N#172SP#@ runway *16L* cleared for takeoff, wind #160# degrees #12# knots',
    b'squawk #4521#, QNH #1013#, contact departure on #121.800#, good day',
    b"Seattle tower, 'wind' check, runway *34C* via taxiway A-B_C/D, hold short *16R*",
    b'unmatched #12 and *34 and @ABC',
    b'##**@@#*@*#',
    b'#' + b'9' * 300 + b'#',
]
markup_seeds = {}
for i, phrase in enumerate(PHRASES):
    markup_seeds['phrase-%d-full-buffers' % i] = bytes([255, 255, i & 1]) + phrase
    markup_seeds['phrase-%d-small-buffers' % i] = bytes([1 + 7 * i, 30 + i, (i + 1) & 1]) + phrase
markup_seeds['no-buffers'] = bytes([0, 0, 0]) + PHRASES[0]
write_seeds('PhraseMarkup', markup_seeds)
write_dict('PhraseMarkup', ['#', '*', '@', "'wind'", '.', '-', '_', '/', '16L', '34C', '121.800', 'flight level'])

dialog_seeds = {
    'three-messages': bytes([255, 255, 255, 0]) + b'\n'.join(PHRASES[:3]),
    'long-message-wraps': bytes([0, 255, 0, 1]) + b' '.join([PHRASES[1]] * 5),
    'one-word-longer-than-a-line': bytes([128, 128, 128, 0]) + b'x' * 300 + b' y',
    'blanks-only-and-empty': bytes([255, 0, 0, 1]) + b'   \n\n \t \nend',
    'thirty-two-messages': bytes([10, 20, 30, 0]) + b'\n'.join(b'message %d' % i for i in range(32)),
}
write_seeds('DialogBox', dialog_seeds)
write_dict('DialogBox', [' ', '  ', '\n', '#', ':', 'x' * 32])

# MARK: procedure search

KTCM_CIFP = read('data/sample/navdata/CIFP/KTCM.dat')
KSEA_CIFP_LINES = [l for l in lines_of(read('data/sample/navdata/CIFP/KSEA.dat'))
                   if re.match(rb'(SID|STAR):\d+,\w,(BANGR9|SEA7|CHINS3),', l)]
SAMPLE_FIXES = lines_of(read('data/sample/navdata/earth_fix.dat'))
procedure_seeds = {
    # control byte: bit 0 STAR, bits 1-3 runway (16L 16C 16R 34 1C 07 "" 99X), bit 7 the fix file
    'ksea-sid-16l': bytes([0]) + b'\n'.join(KSEA_CIFP_LINES),
    'ksea-star-16c': bytes([1 | 1 << 1]) + b'\n'.join(KSEA_CIFP_LINES),
    'ktcm-whole-file-star': bytes([1 | 3 << 1]) + KTCM_CIFP,
    'truncated-and-long-lines': bytes([0]) + b'SID:010,4,BANGR9,RW16L,CAVOB,K1\nSID:010,4,X,' + b'y' * 700 +
    b'\n' + b'\n'.join(KSEA_CIFP_LINES[:6]),
    'fix-file-crlf': bytes([0x80]) + b'\n'.join(SAMPLE_FIXES[:40]),
}
write_seeds('ProcedureSearch', procedure_seeds)
write_dict('ProcedureSearch', ['SID:', 'STAR:', 'APPCH:', 'RWY:', ',', ', ', ',RW16L,', ',RW16B,', ',ALL,', ', ,',
                               ',+,', ',-,', ',B,', 'FL', '05000', 'KSEA', 'ENRT', 'K1', '\r\n', ';'])

# MARK: the update server's answers

version_seeds = {
    'stable-candidate-installed': b'2.1.10\n|2.1.10RC1\n|2.1.0',
    'candidate-installed': b'2.2.0.0|2.2.0-rc4|2.2.0RC3',
    'fifteen-digits': b'999999999999999|1RC1|2.1.0',
    'html': b'<html><head><title>502 Bad Gateway</title></head></html>|2.1.0|2.1.0',
    'blanks-and-line-ends': b' \r\n2.1.10\r\n|\t2.1.10rc2 \n|2.1.0',
    'path-and-format': b'../../2.1%s|2.1.0RC%n|2.1.0',
}
write_seeds('UpdateVersion', version_seeds)
write_dict('UpdateVersion', ['|', '.', '-', 'RC', 'rc', '999999999999999', '\r\n'])

notes_seeds = {
    'twenty-lines': b''.join(b'Note %d\r\n' % i for i in range(1, 21)),
    'one-long-line': b'w' * 5000,
    'long-words-and-blanks': b' '.join([b'word'] * 200),
    'control-characters': b'tab\there\x1b[31m red\x7f\x00nul\r\r\n\n\nlast',
    'utf8-across-the-wrap': ('\u00e9' * 120).encode('utf-8'),
}
write_seeds('ReleaseNotes', notes_seeds)
write_dict('ReleaseNotes', ['\r\n', '\n', '\r', ' ', '\t', '\xc3\xa9', 'x' * 100])
