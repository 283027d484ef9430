#!/usr/bin/env python3
"""Writes the RTF fixtures of the report tests, the way word processors
write such files (Windows-1250 text, font and colour tables, tables,
pictures). Run from this folder; the outputs are committed."""
import struct, zlib

def png(w, h, pixel):
    raw = b''.join(b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    def chunk(t, d):
        c = struct.pack('>I', len(d)) + t + d
        return c + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def logo(x, y):
    if 4 <= x < 56 and 4 <= y < 36:
        return (0, 80, 200)
    return (255, 255, 255) if (x // 8 + y // 8) % 2 else (220, 60, 40)

def esc(text):
    out = []
    for ch in text:
        if ch in '\\{}':
            out.append('\\' + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            try:
                b = ch.encode('cp1250')
                out.append("\\'%02x" % b[0])
            except UnicodeEncodeError:
                out.append('\\u%d?' % ord(ch))
    return ''.join(out)

def hexlines(data):
    h = data.hex()
    return '\r\n'.join(h[i:i + 128] for i in range(0, len(h), 128))

def write(name, text):
    with open(name, 'wb') as f:
        f.write(text.encode('latin-1'))

HEAD = ('{\\rtf1\\ansi\\ansicpg1250\\uc1\\deff0\\deflang1051\\deflangfe1051'
        '{\\fonttbl{\\f0\\froman\\fcharset238\\fprq2{\\*\\panose 02020603050405020304}Times New Roman CE;}'
        '{\\f1\\fswiss\\fcharset238\\fprq2{\\*\\panose 020b0604020202020204}Arial CE;}'
        '{\\f2\\fmodern\\fcharset238\\fprq1 Courier New CE;}}\r\n'
        '{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;\\red192\\green192\\blue192;}\r\n'
        '{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 '
        '\\fs24\\lang1051\\langfe1051\\cgrid\\langnp1051\\langfenp1051 \\snext0 Normal;}'
        '{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}\r\n'
        '{\\*\\rsidtbl \\rsid1067145\\rsid2124655}{\\*\\generator Microsoft Word 11.0.5604;}'
        '{\\info{\\title Preberac\\\'ed protokol}{\\author TEBO}{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min0}}\r\n'
        '\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1417 '
        '\\widowctrl\\ftnbj\\aenddoc\\hyphhotz425\\formshade\\viewkind1\\viewscale100\\pgbrdrhead\\pgbrdrfoot '
        '\\fet0\\sectd \\linex0\\headery708\\footery708\\colsx708\\endnhere\\sectlinegrid360\\sectdefaultcl\r\n')
PARD = '\\pard\\plain \\ql \\li0\\ri0\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\fs24\\lang1051\\langfe1051\\cgrid '

def cell_defs(widths, header=False):
    out = ['\\trowd \\irow0\\irowband0\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 '
           '\\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 \\trbrdrh\\brdrs\\brdrw10 \\trbrdrv\\brdrs\\brdrw10 '
           '\\trftsWidth1\\trautofit1\\tblind0\\tblindtype3 ']
    x = -108
    for w in widths:
        x += w
        out.append('\\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 '
                   '\\clbrdrr\\brdrs\\brdrw10 %s\\cltxlrtb\\clftsWidth3\\clwWidth%d \\cellx%d'
                   % ('\\clcbpat4' if header else '', w, x))
    return ''.join(out)

def row(widths, cells, header=False):
    defs = cell_defs(widths, header)
    body = (PARD.replace('\\itap0', '\\intbl') + '{\\f1\\fs20' + ('\\b' if header else '') + ' '
            + '\\cell '.join(esc(c) for c in cells) + '\\cell }')
    return defs + '\r\n' + body + '\r\n' + PARD.replace('\\itap0', '\\intbl') + '{' + defs + '\\row }\r\n'

# ---- the realistic two-page handover protocol ----
owners = [('Kováč Ján (2)', '0a00000123456789', '3', '12'), ('Šťastná Ľudmila', '1f0000089abcdef0', '1', '4'),
          ('Žilinský Ďurko', '2c00000fedcba987', '2', '7'), ('Čierna Mária', '3d00000112233445', '4', '15'),
          ('Ďuríková Zuzana', '4e00000556677889', '5', '21'), ('Horváth Peter', '5f000009aabbccdd', '1', '2'),
          ('Nováková Eva', '6000000eeff00112', '3', '11'), ('Mráz Ľubomír', '7100000334455667', '2', '8')]
widths = [700, 3000, 2600, 1200, 1500]
parts = [HEAD]
parts.append('{\\header ' + PARD + '\\qr {\\f1\\fs16 ' + esc('Hlavička dokumentu') + '\\par }}\r\n')
parts.append('{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n')
parts.append(PARD + '\\qc \\sb240\\sa120 {\\f1\\fs32\\b ' + esc('PREBERACÍ PROTOKOL') + '\\par }\r\n')
parts.append(PARD + '\\qc \\sa240 {\\f1\\fs22 ' + esc('identifikátorov prístupového systému') + '\\par }\r\n')
parts.append(PARD + '\\qj \\sa120 {\\f1\\fs20 ' + esc(
    'Správca objektu odovzdáva nižšie uvedeným vlastníkom identifikátory (čipy) prístupového systému. '
    'Vlastník svojím podpisom potvrdzuje, že identifikátor prevzal, je oboznámený s podmienkami jeho '
    'používania a stratu identifikátora bezodkladne ohlási správcovi. Ďakujeme.') + '\\par }\r\n')
parts.append('{\\*\\shppict{\\pict{\\*\\picprop\\shplid1025{\\sp{\\sn shapeType}{\\sv 75}}}\\picscalex100\\picscaley100'
             '\\piccropl0\\piccropr0\\piccropt0\\piccropb0\\picw60\\pich40\\picwgoal1800\\pichgoal1200\\pngblip'
             '\\bliptag-1{\\*\\blipuid 0123456789abcdef0123456789abcdef}\r\n' + hexlines(png(60, 40, logo)) + '}}'
             '{\\nonshppict{\\pict\\picscalex100\\picscaley100\\picw3175\\pich2117\\picwgoal1800\\pichgoal1200'
             '\\wmetafile8\\bliptag-1 010009000003}}' + PARD + '\\par\r\n')
parts.append(row(widths, ['P.č.', 'Meno', 'Identifikátor', 'Posch.', 'Č. bytu'], header=True))
for i, (name, code, floor, flat) in enumerate(owners, 1):
    parts.append(row(widths, [str(i), name, code, floor, flat]))
parts.append(PARD + '\\sb240 {\\f1\\fs20 ' + esc('Dátum odovzdania: ') +
             '{\\field{\\*\\fldinst {\\f1\\fs20  DATE \\\\@ "d.M.yyyy" }}{\\fldrslt {\\f1\\fs20 1.3.2024}}}\\par }\r\n')
parts.append('{\\field{\\*\\fldinst { INCLUDEPICTURE "http://example.invalid/logo.png" \\\\* MERGEFORMATINET }}{\\fldrslt }}\r\n')
for p in range(14):
    parts.append(PARD + '\\qj \\sa120 {\\f1\\fs20 ' + esc(
        '%d. Identifikátor zostáva majetkom správcu. Vlastník je povinný chrániť ho pred poškodením, '
        'nesmie ho požičiavať iným osobám ani vyhotovovať jeho kópie. Pri odsťahovaní ho vráti správcovi.' % (p + 1))
        + '\\par }\r\n')
parts.append(PARD + '{\\f1\\fs20 \\page }\r\n')
parts.append(PARD + '\\qc \\sa240 {\\f1\\fs28\\b ' + esc('Podpisy vlastníkov') + '\\par }\r\n')
for name, *_ in owners:
    parts.append(PARD + '\\tx4500\\tqr\\tx9000 \\sb360 {\\f1\\fs20 ' + esc(name) + '\\tab ' + '.' * 40 + '\\par }\r\n')
parts.append(PARD + '\\sb480 {\\f1\\fs20 ' + esc('Správca: ') + '{\\i ' + esc('Ing. Ľubica Šťastná') + '}\\par }\r\n')
parts.append(PARD + '{\\f1\\fs20 \\par }}')
write('protokol-dve-strany.rtf', ''.join(parts))

# ---- one small file per feature ----
write('formatting.rtf', HEAD + PARD + '{\\f1\\fs20 plain }{\\f1\\fs20\\b bold }{\\f1\\fs20\\i italic }'
      '{\\f1\\fs20\\ul under }{\\f1\\fs20\\strike struck }{\\f2\\fs32 big mono }{\\f1\\fs20\\cf3 red }'
      '{\\f1\\fs20\\highlight4 marked }{\\f1\\b\\i\\fs20\\plain\\f1 reset}\\par }')
write('codepage-1250.rtf', HEAD + PARD + '{\\f1 ' + esc('Šťastný ďateľ žltý kôň úpel ódy: ČŽŠ ĽĹŔ') + '\\par }'
      + PARD + '{\\f1 ' + 'Ko'.encode().decode() + 'v\xe1\xe8' + '\\par }}')
write('unicode.rtf', '{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}'
      '\\pard\\f0 {\\uc1 a\\u269\\\'e8 b}{\\uc0 c\\u382 d}{\\uc2 e\\u353\\\'9a\\\'9a f}\\u-4064?g\\par}')
write('paragraphs.rtf', HEAD + PARD + '\\qc {centre\\par}' + PARD + '\\qr {right\\par}' + PARD
      + '\\qj\\li720\\ri360\\fi-360\\sb120\\sa240 {justified indented\\par}' + PARD
      + '{one\\line two\\tab three\\par}' + PARD + '{before\\page after\\par}' + PARD
      + '\\sl360\\slmult1 {spaced\\par}}')
pix = png(8, 4, lambda x, y: (255, 0, 0) if x < 4 else (0, 0, 255))
write('pictures.rtf', HEAD + PARD + '{A{\\pict\\pngblip\\picw8\\pich4\\picwgoal1440\\pichgoal720 '
      + pix.hex() + '}B{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 0100090000}C'
      '{\\pict\\pngblip\\picw8\\pich4 ' + pix.hex() + '}D\\par }}')
write('fields.rtf', HEAD + PARD + '{Page {\\field{\\*\\fldinst {PAGE}}{\\fldrslt {7}}} of '
      '{\\field{\\fldinst HYPERLINK "http://example.invalid"}{\\fldrslt link}} '
      '{\\field{\\*\\fldinst INCLUDEPICTURE "/etc/passwd" \\\\d}{\\fldrslt }}'
      '{\\object\\objlink\\objupdate{\\*\\objclass Excel.Sheet}{\\*\\objdata 0102}{\\result shown}}\\par }}')
write('destinations.rtf', HEAD + '{\\header hidden header\\par}{\\footer hidden footer\\par}'
      '{\\*\\unknowndest skipped}{\\*\\bkmkstart mark}' + PARD + '{visible{\\unknownword kept}'
      '{\\*\\another {nested skipped}}{\\v hidden}\\par }}')
T = ('\\trowd\\trgaph108\\trleft0\\clbrdrt\\brdrs\\brdrw20\\brdrcf3\\clbrdrb\\brdrs\\brdrw10\\clcbpat4\\cellx2000'
     '\\clbrdrt\\brdrs\\brdrw10\\clmgf\\cellx4000\\clmrg\\cellx6000\\clvmgf\\cellx8000')
T2 = '\\trowd\\trgaph108\\trleft0\\cellx2000\\cellx4000\\cellx6000\\clvmrg\\cellx8000'
write('table.rtf', HEAD + PARD + '{before\\par}' + T + PARD + '\\intbl {a1\\cell b1\\cell \\cell d1\\cell }'
      + PARD + '\\intbl {' + T + '\\row }' + T2 + PARD + '\\intbl {a2\\cell b2\\par second\\cell c2\\cell \\cell }'
      + PARD + '\\intbl {' + T2 + '\\row }' + PARD + '{after\\par }}')
