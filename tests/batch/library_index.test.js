// Builds a small library of real albums (MP3 files made with lame, tagged by lame) with
// `orv --batch -r --index`, opens the library page over file:// in headless Chromium and
// uses it as a person would: every album there, its link working, the search, the
// keyboard, a phone's width, and a hostile album title shown as text.
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

const { env, writeTone, check, withBrowser, run } = require('../page/browser');

const orv = env('ORV');
const shotDir = env('ORV_SCREENSHOT_DIR');
const lame = env('LAME', 'lame');

const hostile = '</script><script>window.pwned=1</script>';
// folder below the library, album title, artist, tracks; in the order the batch finds them
const albums = [
  ['Various/Hostile', hostile, 'Evil & Co', ['a.mp3']],
  ['Various/Wide', 'Ｗｉｄｅ Ａｌｂｕｍ', 'ＦＵＬＬ Ｗｉｄｔｈ', ['a.mp3', 'b.mp3', 'c.mp3']],
  ['オーヴ楽団/夜明け #1 50%', '夜明けのアルバム', 'オーヴ楽団', ['01 夜明け.mp3', '02 朝.mp3']],
];

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-library-'));
  const lib = path.join(work, 'ライブラリ');
  const tone = path.join(work, 'tone.wav');
  writeTone(tone, 1.2, 440);
  for (const [folder, album, artist, files] of albums) {
    fs.mkdirSync(path.join(lib, folder), { recursive: true });
    files.forEach((file, i) => execFileSync(lame, ['--quiet', '-b', '32', '--id3v2-only',
      '--id3v2-utf16', '--tt', `曲 ${i + 1}`, '--ta', artist, '--tl', album, tone,
      path.join(lib, folder, file)]));
  }
  // An album that fails (a rename clash) is not listed.
  fs.mkdirSync(path.join(lib, 'Various/Clash'));
  fs.copyFileSync(path.join(lib, 'Various/Hostile/a.mp3'), path.join(lib, 'Various/Clash/x y.mp3'));
  fs.copyFileSync(path.join(lib, 'Various/Hostile/a.mp3'), path.join(lib, 'Various/Clash/x_y.mp3'));
  // The page lies elsewhere than the library, so its links climb out of its folder.
  const site = path.join(work, 'site');
  fs.mkdirSync(site);
  const index = path.join(site, 'library.html');

  const batch = spawnSync(orv, ['--batch', '-r', '--index', index, lib], { encoding: 'utf8' });
  fs.mkdirSync(shotDir, { recursive: true });
  try {
    await withBrowser([], async ({ context, outside, errors, watch }) => {
      await check('the batch builds three albums, fails one and writes the page', async () => {
        assert.equal(batch.status, 1, batch.stderr);
        assert.match(batch.stderr, /作成 3、失敗 1、/);
        assert.ok(fs.existsSync(index));
      });

      const page = watch(context.pages()[0] || await context.newPage());
      const url = pathToFileURL(index).href;
      await page.goto(url);
      await page.evaluate(() => document.fonts.ready);
      const cards = () => page.$$eval('.album:not([hidden])', (els) => els.map((e) => [
        e.querySelector('.album-title').textContent, e.querySelector('.album-artist').textContent,
        e.querySelector('.album-meta').textContent]));

      await check('every built album is listed with its cover, title, artist, tracks and time', async () => {
        assert.deepEqual(await cards(), [
          [hostile, 'Evil & Co', '1曲・0:01'],
          ['Ｗｉｄｅ Ａｌｂｕｍ', 'ＦＵＬＬ Ｗｉｄｔｈ', '3曲・0:03'],
          ['夜明けのアルバム', 'オーヴ楽団', '2曲・0:02'],
        ]);
        assert.equal(await page.textContent('#library-meta'), '3 アルバム・6 曲・0:06');
        await page.waitForFunction(() => [...document.images].every((i) => i.complete && i.naturalWidth > 0));
      });

      await check('the hostile title is text and runs nothing', async () => {
        assert.equal(await page.evaluate(() => typeof window.pwned), 'undefined');
        assert.equal(await page.evaluate(() => document.scripts.length), 1);
      });

      await page.screenshot({ path: path.join(shotDir, 'library-desktop.png') });

      await check('each link opens its album page', async () => {
        const hrefs = await page.$$eval('.album-link', (els) => els.map((e) => e.href));
        assert.equal(hrefs.length, 3);
        const other = watch(await context.newPage());
        for (let i = 0; i < hrefs.length; i++) {
          assert.ok(hrefs[i].endsWith('/disk.html'), hrefs[i]);
          await other.goto(hrefs[i]);
          assert.equal(await other.textContent('h1'), albums[i][1]);
          assert.equal(await other.textContent('#album-artist'), albums[i][2]);
        }
        await other.close();
      });

      await check('the search keeps albums whose title or artist hold every word', async () => {
        const search = async (text) => {
          await page.fill('#search', text);
          return (await cards()).map((c) => c[0]);
        };
        assert.deepEqual(await search('夜明け'), ['夜明けのアルバム']);
        assert.deepEqual(await search('evil'), [hostile]);
        assert.deepEqual(await search('full width'), ['Ｗｉｄｅ Ａｌｂｕｍ']);  // either width, any case
        assert.deepEqual(await search('wide ORV'), []);
        assert.equal(await page.isVisible('#empty'), true);
        assert.equal(await page.textContent('#count'), '0 / 3 件');
        await page.fill('#search', '</script>');
        assert.equal(await page.textContent('#count'), '1 / 3 件');
        await page.screenshot({ path: path.join(shotDir, 'library-search.png') });
        await page.press('#search', 'Escape');
        assert.equal((await cards()).length, 3);
        assert.equal(await page.isVisible('#empty'), false);
      });

      await check('the keyboard reaches the search and the albums', async () => {
        await page.evaluate(() => document.activeElement && document.activeElement.blur());
        await page.keyboard.press('/');
        assert.equal(await page.evaluate(() => document.activeElement.id), 'search');
        await page.keyboard.type('hostile evil');
        await page.keyboard.press('Escape');
        await page.keyboard.type('ｆｕｌｌ');
        await page.keyboard.press('ArrowDown');
        assert.equal(await page.evaluate(() => document.activeElement.querySelector('.album-title').textContent),
          'Ｗｉｄｅ Ａｌｂｕｍ');
        await page.screenshot({ path: path.join(shotDir, 'library-focus.png') });
        await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
        assert.equal(await page.textContent('h1'), 'Ｗｉｄｅ Ａｌｂｕｍ');
      });

      await check('on a phone the page fits the width, two albums a row', async () => {
        const phone = watch(await context.newPage());
        await phone.setViewportSize({ width: 390, height: 844 });
        await phone.goto(url);
        await phone.evaluate(() => document.fonts.ready);
        assert.equal(await phone.evaluate(() => document.documentElement.scrollWidth), 390);
        const tops = await phone.$$eval('.album', (els) => els.map((e) => e.getBoundingClientRect().top));
        assert.equal(tops[0], tops[1]);
        assert.ok(tops[2] > tops[1]);
        await phone.screenshot({ path: path.join(shotDir, 'library-phone.png') });
      });

      await check('a second run replaces the page it wrote, and refuses any other file', async () => {
        const again = spawnSync(orv, ['--batch', '--index', index, path.join(lib, albums[1][0])], { encoding: 'utf8' });
        assert.equal(again.status, 0, again.stderr);
        assert.equal((fs.readFileSync(index, 'utf8').match(/<li class="album">/g) || []).length, 1);
        const mine = path.join(site, 'mine.html');
        fs.writeFileSync(mine, '<p>my own page</p>');
        const refused = spawnSync(orv, ['--batch', '--index', mine, path.join(lib, albums[1][0])], { encoding: 'utf8' });
        assert.equal(refused.status, 2);
        assert.match(refused.stderr, /Orv が書いた一覧ページではない/);
        assert.equal(fs.readFileSync(mine, 'utf8'), '<p>my own page</p>');
      });

      await check('no request left file:// and nothing went to the console as an error', async () => {
        assert.deepEqual(outside, []);
        assert.deepEqual(errors, []);
      });
    });
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`screenshots in ${shotDir}`);
}

run(main);
