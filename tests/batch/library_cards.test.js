// The library page's cards and search on small libraries built by the real program: the
// searches people type (kana either way, romaji, accents, width, any order, folders),
// cards that tell albums apart, a page without albums, and the cards of a page an earlier
// Orv wrote.
//
// Environment (set by CTest): ORV (the program), ORV_SCREENSHOT_DIR, optionally CHROMIUM
// and LAME.
'use strict';

const assert = require('node:assert/strict');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const { env, writeTone, check, checkOfflineAndQuiet, withBrowser, run } = require('../page/browser');

const orv = env('ORV');
const shotDir = env('ORV_SCREENSHOT_DIR');
const lame = env('LAME', 'lame');

// folder, album title, artist (null: untagged)
const searched = [
  ['Pop/桜', 'さくら', 'Beyoncé'],
  ['Pop/サクラ', 'サクラ', 'Motörhead'],
  ['Pop/Capital', 'とうきょう', 'ＱＵＥＥＮ'],
  ['Pop/Straße', 'Straße', 'Røyksopp'],
  ['Pop/Dance', 'シャッフル・ダンス', 'ｻｰﾌ ﾊﾞﾝﾄﾞ'],
  ['Jazz/Shinjuku', 'しんじゅく ちょっと', 'マッチャ'],
];
// words typed, and the titles found
const searches = [
  ['さくら', ['さくら', 'サクラ']],                      // hiragana finds katakana
  ['サクラ', ['さくら', 'サクラ']],                      // and the other way
  ['sakura', ['さくら', 'サクラ']],                      // romaji finds kana
  ['SAKURA motorhead', ['サクラ']],                     // every word, any order, accents
  ['beyonce', ['さくら']],
  ['BEYONCÉ', ['さくら']],
  ['tokyo', ['とうきょう']],                             // ou/o
  ['toukyou', ['とうきょう']],
  ['queen', ['とうきょう']],                             // full width
  ['ｑｕｅｅｎ', ['とうきょう']],
  ['strasse royksopp', ['Straße']],                     // ß, ø
  ['シャッフルダンス', ['シャッフル・ダンス']],            // the middle dot left out
  ['さーふ', ['シャッフル・ダンス']],                      // half width, the long-vowel mark
  ['surf', []],                                          // no English from kana
  ['shinjuku', ['しんじゅく ちょっと']],                  // Hepburn
  ['sinzyuku tyotto', ['しんじゅく ちょっと']],           // Kunrei
  ['maccha', ['しんじゅく ちょっと']],                    // ッ and チャ
  ['jazz', ['しんじゅく ちょっと']],                      // the folder
  ['pop 桜', ['さくら']],
  ['zzz', []],
];
// folder, album title, artist; and the lines its card shows
const cards = [
  ['Bach/Goldberg/CD1', 'Goldberg', 'Bach', ['Goldberg', 'Bach/Goldberg/CD1', 'Bach', '1曲・0:01']],
  ['Bach/Goldberg/CD2', 'Goldberg', 'Bach', ['Goldberg', 'Bach/Goldberg/CD2', 'Bach', '1曲・0:01']],
  ['BadFiles', null, null, ['BadFiles', '1曲・0:01']],
  ['Nameless', '名前だけのアルバム', null, ['名前だけのアルバム', '1曲・0:01']],
  ['Rips/Untitled', null, 'ソロ歌手', ['Untitled', 'Rips', 'ソロ歌手', '1曲・0:01']],
];

function makeAlbum(folder, album, artist, tone) {
  fs.mkdirSync(folder, { recursive: true });
  execFileSync(lame, ['--quiet', '-b', '32', '--id3v2-only', '--id3v2-utf16', '--tt', '曲',
    ...(artist ? ['--ta', artist] : []), ...(album ? ['--tl', album] : []), tone, path.join(folder, 'a.mp3')]);
}

function library(work, name, albums, tone) {
  const lib = path.join(work, name);
  for (const [folder, album, artist] of albums) makeAlbum(path.join(lib, folder), album, artist, tone);
  const index = path.join(lib, 'index.html');
  const built = spawnSync(orv, ['--batch', '-r', '--index', index, lib], { encoding: 'utf8' });
  assert.equal(built.status, 0, built.stderr);
  return index;
}

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-cards-'));
  const tone = path.join(work, 'tone.wav');
  writeTone(tone, 1.2, 440);
  const searchIndex = library(work, 'search', searched, tone);
  const cardsIndex = library(work, 'cards', cards, tone);
  fs.mkdirSync(path.join(work, 'empty'));
  const emptyIndex = path.join(work, 'empty', 'index.html');
  const emptyRun = spawnSync(orv, ['--batch', '-r', '--index', emptyIndex, path.join(work, 'empty')], { encoding: 'utf8' });
  fs.mkdirSync(shotDir, { recursive: true });
  try {
    await withBrowser([], async ({ context, outside, errors, watch }) => {
      const open = async (index) => {
        const page = watch(await context.newPage());
        await page.goto(pathToFileURL(index).href);
        await page.evaluate(() => document.fonts.ready);
        return page;
      };
      const lines = (page) => page.$$eval('.album', (els) => els.map((e) =>
        [...e.querySelectorAll('.album-link > span:not(.cover)')].map((s) => s.textContent)));

      await check('the search finds kana either way, romaji, accents, either width, any order, folders', async () => {
        const page = await open(searchIndex);
        for (const [typed, titles] of searches) {
          await page.fill('#search', typed);
          assert.deepEqual((await lines(page)).map((l) => l[0]).sort(), [...titles].sort(), typed);
        }
        await page.close();
      });

      await check('cards that would read alike show their folders; no title twice, no placeholder artist', async () => {
        const page = await open(cardsIndex);
        assert.deepEqual(await lines(page), cards.map((c) => c[3]));
        await page.waitForFunction(() => [...document.images].every((i) => i.complete && i.naturalWidth > 0));
        await page.screenshot({ path: path.join(shotDir, 'library-cards.png') });
        await page.close();
      });

      await check('a page without albums says so, and how to build some', async () => {
        assert.equal(emptyRun.status, 1, emptyRun.stderr);  // the folder holds no album
        const page = await open(emptyIndex);
        assert.equal(await page.isVisible('#none'), true);
        assert.match(await page.textContent('#none'), /作成したアルバムはまだありません/);
        assert.equal(await page.textContent('#how'), `orv --batch -r --covers --index '${emptyIndex}' 音楽のフォルダー`);
        assert.equal(await page.isVisible('#empty'), false);
        await page.screenshot({ path: path.join(shotDir, 'library-empty.png') });
        await page.close();
      });

      await check('cards an earlier Orv wrote still draw', async () => {
        // Its cards: "url", the untagged artist's placeholder text, no copies of covers.
        const old = [
          { folder: 'Bach/Goldberg/CD1', url: 'Bach/Goldberg/CD1/', title: 'Goldberg', artist: 'アーティスト情報なし', tracks: 1, time: '0:01' },
          { folder: 'Rips/Untitled', url: 'Rips/Untitled/', title: 'Untitled', fromFolder: true, tracks: 1, time: '0:01' },
        ];
        const page = fs.readFileSync(cardsIndex, 'utf8')
          .replace(/(id="library-data"[^>]*>)[^<]*/, (m, start) => start + JSON.stringify(old));
        const oldIndex = path.join(path.dirname(cardsIndex), 'old.html');
        fs.writeFileSync(oldIndex, page);
        const shown = await open(oldIndex);
        assert.deepEqual(await lines(shown), [['Goldberg', '1曲・0:01'], ['Untitled', 'Rips', '1曲・0:01']]);
        assert.deepEqual(await shown.$$eval('.album img', (els) => els.map((e) => e.getAttribute('src'))),
          ['Bach/Goldberg/CD1/jacket.jpg', 'Rips/Untitled/jacket.jpg']);
        await shown.waitForFunction(() => [...document.images].every((i) => i.complete && i.naturalWidth > 0));
        await shown.close();
      });

      await checkOfflineAndQuiet(outside, errors);
    });
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

run(main);
