#!/usr/bin/env python3
"""Writes the frequency tables that weigh 8-bit tag text (the *.cpp files beside this script),
which the rows of text/CodePages.h point at.

Run by hand on Debian 12 after installing the packages below; the build only compiles the
files it writes, so neither the packages nor Python are needed to build Orv.

  apt-get install unicode-data mecab-ipadic hunspell-ko hunspell-ru hunspell-uk hunspell-bg \
      hunspell-sr hunspell-cs hunspell-pl hunspell-hu hunspell-sk hunspell-hr hunspell-sl \
      hunspell-ro hunspell-fr-classical hunspell-de-de hunspell-es hunspell-pt-pt \
      hunspell-pt-br hunspell-it hunspell-sv hunspell-da hunspell-nl hunspell-is
  python3 text/frequencies/make_frequencies.py

Sources, and the licences they are shipped under (see each package's copyright file). The
tables hold only counts derived from them (how often a character or a pair of letters
occurs), never their words:

  Chinese     unicode-data: Unihan kHanyuPinlu (character counts of a modern Chinese
              frequency dictionary), kFrequency, kTGH, kGB0, kBigFive, kTraditionalVariant.
              Unicode License Agreement (permissive).
  Japanese    mecab-ipadic: the entries' surface forms and katakana readings.
              BSD-3-Clause with the ICOT term.
  Korean      hunspell-ko: the word list's syllables. MPL-1.1 or GPL-2+ or LGPL-2.1+.
  Cyrillic    hunspell-ru (BSD-style), -uk (GPL-2+/LGPL-2.1+/MPL-1.1), -bg (GPL-2),
              -sr (GPL-2+/LGPL-2.1/MPL-1.1): letter pairs of the word lists.
  Central     hunspell-cs (GPL-2), -pl (GPL/LGPL/MPL/Apache-2.0/CC-SA-1.0),
  European    -hu (GPL-3+/LGPL-3+/MPL-2.0+), -sk (GPL-2/LGPL-2.1/MPL-1.1),
              -hr (LGPL/SISSL), -sl (GPL/LGPL), -ro (GPL-2/LGPL-2.1/MPL-1.1): letter pairs.
  Western     hunspell-fr-classical (MPL-2.0), -de-de (GPL-2+), -es (GPL-3+/LGPL-3+/
              MPL-1.1+), -pt-pt (GPL-2/LGPL-2.1/MPL-1.1), -pt-br (LGPL-3/MPL), -it (GPL-3),
              -sv (LGPL-3), -da (LGPL-2.1/GPL-2/MPL-1.1), -nl (BSD-2-Clause/CC-BY-3.0),
              -is (CC-BY-SA-3.0): letter pairs.

Every table holds costs in half-bits, -2 log2 p, rounded and capped at 63, as one character
of the base-64 alphabet each.
"""

import bz2
import collections
import glob
import math
import os
import re
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
UNIHAN = '/usr/share/unicode/Unihan_%s.txt.bz2'
HUNSPELL = '/usr/share/hunspell/%s'
IPADIC = '/usr/share/mecab/dic/ipadic/*.csv'
BASE64 = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'
HAN_FIRST, HAN_LAST = 0x4E00, 0x9FFF
HANGUL_FIRST, HANGUL_LAST = 0xAC00, 0xD7A3
KANA_FIRST, KANA_LAST = 0x3040, 0x30FF
MAX_COST = 63


def cost(p):
    return min(MAX_COST, max(0, round(-2 * math.log2(p))))


def unigram_costs(counts, first, last, vocabulary, unseen_bits):
    """Costs of the code points first..last from `counts`, add-half smoothed."""
    total = sum(counts.values())
    unseen = 0.5 / (total + 0.5 * vocabulary) / 2 ** unseen_bits
    return [cost((counts[chr(c)] + 0.5) / (total + 0.5 * vocabulary)) if counts.get(chr(c))
            else cost(unseen) for c in range(first, last + 1)]


def pair_costs(pairs, alphabet):
    """Costs of P(second | first) over `alphabet` ('#' first: a word's edge)."""
    index = {c: i for i, c in enumerate(alphabet)}
    counts = collections.Counter()
    for pair, n in pairs.items():
        if pair[0] in index and pair[1] in index:
            counts[pair] += n * 1e6
    rows = collections.Counter()
    for pair, n in counts.items():
        rows[pair[0]] += n
    out = []
    for a in alphabet:
        for b in alphabet:
            out.append(cost((counts[a + b] + 0.5) / (rows[a] + 0.5 * 80)))
    return out


# ---- Unihan

def unihan(fields):
    out = collections.defaultdict(dict)
    for name in ['Readings', 'DictionaryLikeData', 'OtherMappings', 'Variants']:
        for line in bz2.open(UNIHAN % name, 'rt', encoding='utf-8'):
            if line.startswith('#') or not line.strip():
                continue
            code, field, value = line.rstrip('\n').split('\t')
            if field in fields:
                out[field][chr(int(code[2:], 16))] = value
    return out


def chinese_counts():
    u = unihan({'kHanyuPinlu', 'kFrequency', 'kTraditionalVariant', 'kBigFive', 'kGB0', 'kTGH'})
    pinlu = {ch: sum(int(n) for n in re.findall(r'\((\d+)\)', v))
             for ch, v in u['kHanyuPinlu'].items()}
    # kFrequency: 1 (most common) to 5, from postings in traditional characters.
    by_frequency = {1: 3000, 2: 300, 3: 60, 4: 15, 5: 4}

    simplified = collections.Counter(pinlu)
    floors = {}
    for ch, v in u['kTGH'].items():  # the 2013 list of standard characters: 3,500 common first
        floors[ch] = 100 if int(v.split(':')[1]) <= 3500 else 4
    for ch, v in u['kGB0'].items():  # GB 2312 level 1: rows 16 to 55
        if 16 <= int(v[:2]) <= 55:
            floors[ch] = max(floors.get(ch, 0), 60)
    for ch, v in u['kFrequency'].items():
        floors[ch] = max(floors.get(ch, 0), by_frequency[int(v)] * 0.3)
    for ch, n in floors.items():
        simplified[ch] = max(simplified[ch], n)

    traditional = collections.Counter()
    for ch, n in pinlu.items():
        variants = u['kTraditionalVariant'].get(ch)
        targets = [chr(int(v[2:].split('<')[0], 16)) for v in variants.split()] if variants else [ch]
        for t in targets:
            traditional[t] += n / len(targets)
    for ch, v in u['kFrequency'].items():
        traditional[ch] += by_frequency[int(v)]
    for ch, v in u['kBigFive'].items():  # Big5's frequent characters: A440 to C67E
        if 0xA440 <= int(v, 16) <= 0xC67E:
            traditional[ch] = max(traditional[ch], 60)
    return simplified, traditional


# ---- Japanese

def japanese_counts():
    chars = collections.Counter()
    kana_pairs = collections.Counter()
    for path in glob.glob(IPADIC):
        for line in open(path, encoding='euc_jp', errors='replace'):
            fields = line.rstrip('\n').split(',')
            if len(fields) < 12:
                continue
            chars.update(ch for ch in fields[0] if ord(ch) >= 0x3000)
            reading = unicodedata.normalize('NFD', fields[11])  # voiced marks apart, as half-width
            if reading != '*':
                word = '#' + reading + '#'
                kana_pairs.update(a + b for a, b in zip(word, word[1:]))
    return chars, kana_pairs


# The katakana that half-width forms stand for: the word edge, ァ to ヺ, ー and the voiced marks.
KATAKANA = '#' + ''.join(chr(c) for c in range(0x30A1, 0x30FB)) + '\u30FC\u3099\u309A'


# ---- Letter pairs

def dictionary_pairs(name):
    aff = open(HUNSPELL % (name + '.aff'), encoding='latin-1').read()
    match = re.search(r'^SET\s+(\S+)', aff, re.M)
    encoding = {'ISO8859-1': 'latin-1', 'ISO8859-2': 'iso8859-2'}.get(
        match.group(1), match.group(1)) if match else 'utf-8'
    pairs = collections.Counter()
    lines = open(HUNSPELL % (name + '.dic'), encoding=encoding, errors='replace').read().split('\n')
    for line in lines[1:]:  # the first line is the count
        # Windows-1250 has the Romanian letters with a cedilla, which its writers use.
        word = line.split('/')[0].strip().lower().replace('ș', 'ş').replace('ț', 'ţ')
        if word and ' ' not in word:
            word = '#' + word + '#'
            pairs.update(a + b for a, b in zip(word, word[1:]))
    total = sum(pairs.values())
    return collections.Counter({k: v / total for k, v in pairs.items()})


def weighted_pairs(dictionaries):
    out = collections.Counter()
    for name, weight in dictionaries:
        for pair, share in dictionary_pairs(name).items():
            out[pair] += share * weight
    return out


CYRILLIC = [('ru_RU', 0.5), ('uk_UA', 0.25), ('bg_BG', 0.15), ('sr_RS', 0.1)]
CENTRAL = [('cs_CZ', 0.2), ('pl_PL', 0.2), ('hu_HU', 0.2), ('sk_SK', 0.1), ('hr_HR', 0.1),
           ('sl_SI', 0.1), ('ro_RO', 0.1)]
WESTERN = [('fr', 0.2), ('de_DE', 0.15), ('es_ES', 0.15), ('pt_PT', 0.07), ('pt_BR', 0.08),
           ('it_IT', 0.1), ('sv_SE', 0.05), ('da_DK', 0.05), ('nl_NL', 0.05), ('is_IS', 0.1)]


# The single-byte code pages, each with its tables' name, its Python codec, its word lists
# and its languages. A new single-byte page goes here: its line, then its three tables'
# declarations in Frequencies.h and its row in text/CodePages.h, which points at them. A
# new double-byte page gets its character table from main() below, the same way.
LETTER_PAGES = [
    ('Cyrillic', 'cp1251', CYRILLIC, 'Russian, Ukrainian, Bulgarian and Serbian'),
    ('CentralEuropean', 'cp1250', CENTRAL,
     'Czech, Polish, Hungarian, Slovak, Croatian, Slovenian and Romanian'),
    ('Western', 'cp1252', WESTERN, 'French, German, Spanish, Portuguese, Italian, '
     'Swedish, Danish, Dutch and Icelandic'),
]


def code_page_letters(codec):
    """The lower-case letters of a code page's upper half, in byte order, and per byte of
    0x80-0xFF its letter index (0: no letter; ASCII letters are 1-26) times 2, plus 1 for
    an upper-case letter."""
    letters = []
    byte_classes = []
    for b in range(0x80, 0x100):
        try:
            ch = bytes([b]).decode(codec)
        except UnicodeDecodeError:
            byte_classes.append(0)
            continue
        if not ch.isalpha() or ch in 'ªºµ':  # ordinal marks and the micro sign are symbols
            byte_classes.append(0)
            continue
        lower = ch.lower()
        if lower not in letters:
            letters.append(lower)
        byte_classes.append((27 + letters.index(lower)) * 2 + (1 if ch.isupper() else 0))
    return letters, byte_classes


# ---- Output

def base64_lines(costs, indent='    '):
    text = ''.join(BASE64[c] for c in costs)
    return '\n'.join('%s"%s"' % (indent, text[i:i + 88]) for i in range(0, len(text), 88))


HEADER = '// Written by make_frequencies.py from %s; do not edit.\n\n' \
         '#include "text/frequencies/Frequencies.h"\n\nnamespace orv::text::frequencies {\n\n'
FOOTER = '\n}  // namespace orv::text::frequencies\n'


def write(name, sources, body):
    with open(os.path.join(HERE, name), 'w', encoding='utf-8') as f:
        f.write(HEADER % sources + body + FOOTER)


def cost_array(name, costs, comment):
    return '// %s\nconst char %s[] =\n%s;\n' % (comment, name, base64_lines(costs))


def main():
    simplified, traditional = chinese_counts()
    write('HanziFrequencies.cpp', 'Unihan (unicode-data)',
          cost_array('kSimplifiedHanzi', unigram_costs(simplified, HAN_FIRST, HAN_LAST, 21000, 2),
                     'U+4E00 to U+9FFF in simplified Chinese.') + '\n' +
          cost_array('kTraditionalHanzi',
                     unigram_costs(traditional, HAN_FIRST, HAN_LAST, 21000, 2),
                     'U+4E00 to U+9FFF in traditional Chinese.'))

    hangul = collections.Counter()
    for line in open(HUNSPELL % 'ko.dic', encoding='utf-8'):
        word = unicodedata.normalize('NFC', line.split('/')[0].strip())
        hangul.update(ch for ch in word if HANGUL_FIRST <= ord(ch) <= HANGUL_LAST)
    write('HangulFrequencies.cpp', 'hunspell-ko',
          cost_array('kHangul', unigram_costs(hangul, HANGUL_FIRST, HANGUL_LAST, 11172, 4),
                     'U+AC00 to U+D7A3 in Korean.'))

    chars, kana_pairs = japanese_counts()
    write('JapaneseFrequencies.cpp', 'mecab-ipadic',
          cost_array('kKana', unigram_costs(chars, KANA_FIRST, KANA_LAST, 12000, 4),
                     'U+3040 to U+30FF in Japanese.') + '\n' +
          cost_array('kKanji', unigram_costs(chars, HAN_FIRST, HAN_LAST, 12000, 4),
                     'U+4E00 to U+9FFF in Japanese.') + '\n' +
          cost_array('kKatakanaPairs', pair_costs(kana_pairs, KATAKANA),
                     'P(second | first) over "#" and katakana, in Japanese words\' readings.'))

    body = ''
    for name, codec, dictionaries, comment in LETTER_PAGES:
        letters, classes = code_page_letters(codec)
        alphabet = '#' + 'abcdefghijklmnopqrstuvwxyz' + ''.join(letters)
        body += '// %s: %s.\n// The letter of each byte 0x80-0xFF (see Frequencies.h), and P(second | first)\n' \
                '// over "#", a-z and its %d letters.\n' % (name, comment, len(letters))
        rows = [', '.join(str(c) for c in classes[i:i + 16]) for i in range(0, 128, 16)]
        body += 'const unsigned char k%sLetters[128] = {\n%s};\n' % (
            name, ',\n'.join('    ' + row for row in rows))
        body += 'const int k%sAlphabet = %d;\n' % (name, len(alphabet))
        body += cost_array('k%sPairs' % name, pair_costs(weighted_pairs(dictionaries), alphabet),
                           '%s letter pairs.' % name) + '\n'
    write('LetterPairFrequencies.cpp', 'hunspell word lists', body.rstrip('\n') + '\n')


if __name__ == '__main__':
    main()
