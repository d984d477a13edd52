// Builds a small library of real albums (MP3 files made with lame, tagged by lame) with
// `orv --batch -r --index`, opens the library page over file:// in headless Chromium and
// uses it as a person would: every album there, its link working, the search, the
// keyboard, a phone's width, and a hostile album title shown as text; then a library of
// albums without tags, shown and found by their folders, and a library built with
// --covers, each album shown with its own picture.
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

const hostile = '</script><script>window.pwned=1</script>';
// folder below the library, album title, artist, tracks; in the order the batch finds them
const albums = [
  ['Various/Hostile', hostile, 'Evil & Co', ['a.mp3']],
  ['Various/Wide', 'Ｗｉｄｅ Ａｌｂｕｍ', 'ＦＵＬＬ Ｗｉｄｔｈ', ['a.mp3', 'b.mp3', 'c.mp3']],
  ['オーヴ楽団/夜明け #1 50%', '夜明けのアルバム', 'オーヴ楽団', ['01 夜明け.mp3', '02 朝.mp3']],
];
// A library of rips without tags, its page at its top; and what each card shows: an
// album without a title by its folder's name, with the folder it lies in below.
const untagged = [
  ['Artist 12/Album 0399', null, null, ['Album 0399', 'Artist 12', '1曲・0:01']],
  ['Artist 12/Album 0400', null, null, ['Album 0400', 'Artist 12', '1曲・0:01']],
  ['Artist 13/Album 0401', null, null, ['Album 0401', 'Artist 13', '1曲・0:01']],
  ['Tagged/Best', 'ちゃんとしたアルバム', 'バンド', ['ちゃんとしたアルバム', 'バンド', '1曲・0:01']],
  ['ソロ/名前のないアルバム', null, 'ソロ歌手', ['名前のないアルバム', 'ソロ', 'ソロ歌手', '1曲・0:01']],
];

// An album of `files` in `folder`, tagged with whichever of album and artist are given.
function makeAlbum(folder, album, artist, files, tone) {
  fs.mkdirSync(folder, { recursive: true });
  files.forEach((file, i) => execFileSync(lame, ['--quiet', '-b', '32', '--id3v2-only', '--id3v2-utf16',
    '--tt', `曲 ${i + 1}`, ...(artist ? ['--ta', artist] : []), ...(album ? ['--tl', album] : []),
    tone, path.join(folder, file)]));
}

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-library-'));
  process.env.XDG_CACHE_HOME = path.join(work, 'cache');  // the record of builds: not the user's
  const lib = path.join(work, 'ライブラリ');
  const tone = path.join(work, 'tone.wav');
  writeTone(tone, 1.2, 440);
  for (const [folder, album, artist, files] of albums) makeAlbum(path.join(lib, folder), album, artist, files, tone);
  // An album that fails (a rename clash) is not listed.
  fs.mkdirSync(path.join(lib, 'Various/Clash'));
  fs.copyFileSync(path.join(lib, 'Various/Hostile/a.mp3'), path.join(lib, 'Various/Clash/x y.mp3'));
  fs.copyFileSync(path.join(lib, 'Various/Hostile/a.mp3'), path.join(lib, 'Various/Clash/x_y.mp3'));
  // The page lies elsewhere than the library, so its links climb out of its folder.
  const site = path.join(work, 'site');
  fs.mkdirSync(site);
  const index = path.join(site, 'library.html');

  const batch = spawnSync(orv, ['--batch', '-r', '--index', index, lib], { encoding: 'utf8' });
  const rips = path.join(work, 'rips');
  for (const [folder, album, artist] of untagged) makeAlbum(path.join(rips, folder), album, artist, ['a.mp3'], tone);
  const ripsIndex = path.join(rips, 'index.html');
  const ripsBatch = spawnSync(orv, ['--batch', '-r', '--index', ripsIndex, rips], { encoding: 'utf8' });
  // A longer library: 150 copies of one album, more than the page draws at once.
  const many = path.join(work, 'many');
  for (let i = 0; i < 150; i++) {
    fs.mkdirSync(path.join(many, `Rip ${String(i).padStart(3, '0')}`), { recursive: true });
    fs.copyFileSync(path.join(rips, untagged[0][0], 'a.mp3'), path.join(many, `Rip ${String(i).padStart(3, '0')}`, 'a.mp3'));
  }
  const manyIndex = path.join(many, 'index.html');
  const manyBatch = spawnSync(orv, ['--batch', '-r', '--index', manyIndex, many], { encoding: 'utf8' });
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
        assert.equal(await page.evaluate(() => document.scripts.length), 2);  // the data and the page's own
        assert.ok(!fs.readFileSync(index, 'utf8').includes('<script>window'));
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

      await check('a second run over one album keeps the others, and refuses any other file', async () => {
        const again = spawnSync(orv, ['--batch', '--index', index, path.join(lib, albums[1][0])], { encoding: 'utf8' });
        assert.equal(again.status, 0, again.stderr);
        assert.equal((fs.readFileSync(index, 'utf8').match(/"folder":/g) || []).length, albums.length);
        const mine = path.join(site, 'mine.html');
        fs.writeFileSync(mine, '<p>my own page</p>');
        const refused = spawnSync(orv, ['--batch', '--index', mine, path.join(lib, albums[1][0])], { encoding: 'utf8' });
        assert.equal(refused.status, 2);
        assert.match(refused.stderr, /Orv が書いた一覧ページではない/);
        assert.equal(fs.readFileSync(mine, 'utf8'), '<p>my own page</p>');
      });

      await check('albums without a title are shown and found by their folders', async () => {
        assert.equal(ripsBatch.status, 0, ripsBatch.stderr);
        const rip = watch(await context.newPage());
        await rip.goto(pathToFileURL(ripsIndex).href);
        await rip.evaluate(() => document.fonts.ready);
        const lines = () => rip.$$eval('.album', (els) => els.map((e) =>
          [...e.querySelectorAll('.album-link > span:not(.cover)')].map((s) => s.textContent)));
        assert.deepEqual(await lines(), untagged.map((u) => u[3]));
        assert.ok((await rip.getAttribute('.album-link', 'href')).endsWith('Artist%2012/Album%200399/disk.html'));
        await rip.waitForFunction(() => [...document.images].every((i) => i.complete && i.naturalWidth > 0));
        await rip.screenshot({ path: path.join(shotDir, 'library-untagged.png') });
        const search = async (text) => {
          await rip.fill('#search', text);
          return (await lines()).map((l) => l[0]);
        };
        assert.deepEqual(await search('album 0399'), ['Album 0399']);
        assert.deepEqual(await search('ARTIST 12'), ['Album 0399', 'Album 0400']);
        assert.deepEqual(await search('tagged'), ['ちゃんとしたアルバム']);  // a titled album's folder too
        assert.deepEqual(await search('ソロ歌手'), ['名前のないアルバム']);
        await rip.close();
      });

      await check('a long library draws its cards as it scrolls, and back from an album returns to it', async () => {
        assert.equal(manyBatch.status, 0, manyBatch.stderr);
        const long = watch(await context.newPage());
        await long.goto(pathToFileURL(manyIndex).href);
        const titles = () => long.$$eval('.album-title', (els) => els.map((e) => e.textContent));
        assert.ok((await titles()).length < 150);
        await long.waitForFunction(() => {
          scrollTo(0, document.documentElement.scrollHeight);
          return document.querySelectorAll('.album').length === 150;
        }, null, { polling: 100 });
        assert.equal((await titles())[149], 'Rip 149');
        // Where the card of Rip 120 is, once it stays there for a moment.
        const topOf = () => long.evaluate(async () => {
          const card = [...document.querySelectorAll('.album-title')].find((e) => e.textContent === 'Rip 120');
          const top = () => Math.round(card.getBoundingClientRect().top);
          for (let last = null; ;) {
            await new Promise((resolve) => setTimeout(resolve, 100));
            if (top() === last) return last;
            last = top();
          }
        });
        await long.evaluate(() => [...document.querySelectorAll('.album-title')]
          .find((e) => e.textContent === 'Rip 120').closest('.album').scrollIntoView());
        const before = await topOf();
        await Promise.all([long.waitForNavigation(), long.click('.album-link[title$="Rip 120"]')]);
        await long.goBack();
        assert.equal(await topOf(), before);
        await long.close();
      });

      await check('with --covers each album shows a small copy of its own picture: a JPEG file, a PNG file, a tag', async () => {
        // Three pictures told apart by their sizes, drawn by the browser itself.
        const drawn = watch(await context.newPage());
        const picture = (width, height, type, colours) => drawn.evaluate(([w, h, t, c]) => {
          const canvas = Object.assign(document.createElement('canvas'), { width: w, height: h });
          const g = canvas.getContext('2d');
          c.forEach((colour, i) => { g.fillStyle = colour; g.fillRect(0, (i * h) / c.length, w, h / c.length); });
          g.fillStyle = '#fff';
          g.beginPath();
          g.arc(w / 2, h / 2, h / 4, 0, 2 * Math.PI);
          g.fill();
          // Lettering, as covers have, for the screenshots to show it in the small copies.
          g.fillStyle = '#222';
          g.font = `bold ${Math.round(h / 9)}px sans-serif`;
          g.textAlign = 'center';
          g.fillText('夜明け ORV', w / 2, h / 2 + h / 30);
          return canvas.toDataURL(t).split(',')[1];
        }, [width, height, type, colours]);
        const covers = path.join(work, 'covers');
        const made = [
          ['Jpeg', 'cover.jpg', Buffer.from(await picture(640, 640, 'image/jpeg', ['#c0392b', '#e67e22']), 'base64')],
          ['Png', 'Folder.PNG', Buffer.from(await picture(480, 360, 'image/png', ['#2c3e50', '#2980b9', '#1abc9c']), 'base64')],
          ['Tagged', null, Buffer.from(await picture(320, 320, 'image/png', ['#8e44ad', '#f1c40f']), 'base64')],
          ['None', null, null],
        ];
        await drawn.close();
        for (const [name, file, bytes] of made) {
          makeAlbum(path.join(covers, name), `${name} のアルバム`, 'Orv', ['a.mp3'], tone);
          if (file) fs.writeFileSync(path.join(covers, name, file), bytes);
        }
        const art = path.join(work, 'art.png');
        fs.writeFileSync(art, made[2][2]);
        execFileSync(lame, ['--quiet', '-b', '32', '--id3v2-only', '--tl', 'Tagged のアルバム', '--ta', 'Orv',
          '--ti', art, tone, path.join(covers, 'Tagged', 'a.mp3')]);
        const coversIndex = path.join(covers, 'index.html');
        const built = spawnSync(orv, ['--batch', '-r', '--covers', '--json', '--index', coversIndex, covers], { encoding: 'utf8' });
        assert.equal(built.status, 0, built.stderr);
        assert.deepEqual(built.stdout.trim().split('\n').map((l) => JSON.parse(l).cover_source),
          ['file:cover.jpg', 'placeholder', 'file:Folder.PNG', 'tags:a.mp3']);
        assert.ok(fs.readFileSync(path.join(covers, 'Jpeg', 'jacket.jpg')).equals(made[0][2]));

        const shown = watch(await context.newPage());
        await shown.goto(pathToFileURL(coversIndex).href);
        await shown.evaluate(() => document.fonts.ready);
        await shown.waitForFunction(() => document.images.length === 4 &&
          [...document.images].every((i) => i.complete && i.naturalWidth > 0));
        // Each card draws the 320 px copy beside the page (the program's placeholder one
        // copy for all), never the cover itself, and names the doubled one for dense screens.
        const sizes = await shown.$$eval('.album', (els) => els.map((e) => {
          const img = e.querySelector('img');
          return [e.querySelector('.album-title').textContent, img.naturalWidth, img.naturalHeight,
            decodeURIComponent(img.currentSrc.replace(/^.*\/covers\//, '')), img.srcset.includes('@2x.jpg 2x')];
        }));
        const copy = /^index-covers\/([0-9a-f]{16}|placeholder-[0-9a-f]{8})\.jpg$/;
        assert.deepEqual(sizes.map((s) => [s[0], s[1], s[2], copy.test(s[3]), s[4]]), [
          ['Jpeg のアルバム', 320, 320, true, true], ['None のアルバム', 320, 320, true, true],
          ['Png のアルバム', 320, 240, true, true], ['Tagged のアルバム', 320, 320, true, false]]);
        assert.ok(sizes[1][3].startsWith('index-covers/placeholder-'));
        const copies = fs.readdirSync(path.join(covers, 'index-covers')).sort();
        assert.equal(copies.length, 7);  // three albums' two copies, the tagged one's one
        for (const s of sizes) assert.ok(copies.includes(s[3].slice('index-covers/'.length)), s[3]);
        const doubled = await shown.evaluate(() => new Promise((resolve) => {
          const img = new Image();
          img.onload = () => resolve([img.naturalWidth, img.naturalHeight]);
          img.src = document.querySelector('.album img').srcset.split(', ')[1].split(' ')[0];
        }));
        assert.deepEqual(doubled, [640, 640]);
        await shown.screenshot({ path: path.join(shotDir, 'library-covers.png') });
        await shown.setViewportSize({ width: 390, height: 844 });
        await shown.screenshot({ path: path.join(shotDir, 'library-covers-phone.png') });
        await shown.close();
      });

      await checkOfflineAndQuiet(outside, errors);
    });
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`screenshots in ${shotDir}`);
}

run(main);
