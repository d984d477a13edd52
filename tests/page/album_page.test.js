// Builds a real album folder (short MP3 files made with lame), writes its page with
// Orv's own writer, opens it over file:// in headless Chromium and plays it.
//
// Environment (set by CTest): WRITE_ALBUM_PAGE (the writer tool), ORV_PROGRAM_DIR (the
// folder holding head.txt, tail.txt and jacket.jpg), ORV_SCREENSHOT_DIR (where the
// screenshots go), optionally CHROMIUM and LAME.
'use strict';

const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const { env, writeTone, check, checkOfflineAndQuiet, withBrowser, run } = require('./browser');

const writer = env('WRITE_ALBUM_PAGE');
const programDir = env('ORV_PROGRAM_DIR');
const shotDir = env('ORV_SCREENSHOT_DIR');
const lame = env('LAME', 'lame');

const album = 'ソフトな表現の時間';  // ソ and 表 carry the byte 0x5C in Shift_JIS
const band = 'オーヴ楽団';
const hostile = '</script><script>window.pwned=1</script>';
// file, artist, title, duration as tags give it, seconds of real audio, expected time
const tracks = [
  ['01 夜明けの歌.mp3', band, '夜明けの歌', '0:03:25', 1.5, '3:25'],
  ['02 Track #2 100%.mp3', band, '表示能力 #2', '', 1.2, '0:01'],
  ['03 "quoted" ?&\'=+.mp3', 'Guest 歌手', 'AC\\DC \'back\\slash\' 星🌟', '1:02:03', 4.0, '1:02:03'],
  ['04 夜更け.mp3', band, hostile, '0:00:59', 2.5, '0:59'],
];

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-page-'));
  // The folder name needs encoding in a URL too, so relative links must survive it.
  const albumDir = path.join(work, 'アルバム #1 50%');
  fs.mkdirSync(albumDir);
  tracks.forEach(([file, , , , seconds], i) => {
    const wav = path.join(work, `tone${i}.wav`);
    writeTone(wav, seconds, 330 + 110 * i);
    execFileSync(lame, ['--quiet', '-b', '64', wav, path.join(albumDir, file)]);
  });
  const list = path.join(work, 'tracks.tsv');
  fs.writeFileSync(list, tracks.map(([file, artist, title, duration]) =>
    [file, artist, ` ${title}  `, album, duration].join('\t') + '\n').join(''));
  execFileSync(writer, [programDir + '/', albumDir + '/', list], { stdio: 'inherit' });
  assert.ok(fs.existsSync(path.join(albumDir, 'jacket.jpg')), 'the writer copies the cover');
  fs.mkdirSync(shotDir, { recursive: true });

  try {
    await withBrowser(['--autoplay-policy=no-user-gesture-required'], async ({ context, outside, errors, watch }) => {
      const page = context.pages()[0] || await context.newPage();
      watch(page);
      const url = pathToFileURL(path.join(albumDir, 'disk.html')).href;
      await page.goto(url);
      await page.evaluate(() => document.fonts.ready);
      const fileOf = (src) => decodeURIComponent(new URL(src).pathname).split('/').pop();
      const audioState = () => page.evaluate(() => {
        const a = document.getElementById('audio');
        return { src: a.currentSrc, paused: a.paused, time: a.currentTime };
      });

      await check('the Shift_JIS page shows the album, its artist and the Japanese titles', async () => {
        assert.equal(await page.textContent('h1'), album);
        assert.equal(await page.textContent('#album-artist'), band);
        assert.equal(await page.title(), `${album} / ${band}`);
        assert.deepEqual(await page.$$eval('.track .title', (els) => els.map((e) => e.textContent)),
          tracks.map((t) => t[2]));
      });

      await check('every track is listed with its time, and the album with its total', async () => {
        assert.deepEqual(await page.$$eval('.track .no-text', (els) => els.map((e) => e.textContent)),
          ['1', '2', '3', '4']);
        assert.deepEqual(await page.$$eval('.track .time', (els) => els.map((e) => e.textContent)),
          tracks.map((t) => t[5]));
        // 205 + 1 + 3723 + 59 seconds
        assert.equal(await page.textContent('#album-meta'), '4曲・1:06:28');
        // Only the guest of track 3 differs from the album's artist.
        assert.deepEqual(await page.$$eval('.track-artist', (els) => els.map((e) => e.textContent)),
          ['Guest 歌手']);
      });

      await check('the hostile title is shown as text and runs nothing', async () => {
        assert.equal(await page.evaluate(() => typeof window.pwned), 'undefined');
        assert.equal(await page.evaluate(() => document.scripts.length), 1);
        assert.equal(await page.textContent('.track:nth-child(4) .title'), hostile);
      });

      await check('each download link names its file, percent-encoded', async () => {
        const hrefs = await page.$$eval('.download', (els) => els.map((e) => e.href));
        assert.deepEqual(hrefs.map(fileOf), tracks.map((t) => t[0]));
        const names = await page.$$eval('.download', (els) => els.map((e) => e.getAttribute('aria-label')));
        assert.equal(names[0], '「夜明けの歌」をダウンロード');
      });

      await page.screenshot({ path: path.join(shotDir, 'album-desktop.png') });

      await check('a click on track 2 plays track 2', async () => {
        await page.click('.track:nth-child(2) .track-play');
        // play() unpauses at once; the chosen source shows in currentSrc a moment later.
        await page.waitForFunction(() => {
          const a = document.getElementById('audio');
          return !a.paused && a.currentSrc !== '';
        });
        const state = await audioState();
        assert.equal(fileOf(state.src), tracks[1][0]);
        assert.equal(state.paused, false);
        assert.equal(await page.getAttribute('.track:nth-child(2) .track-play', 'aria-current'), 'true');
        assert.equal(await page.textContent('#now-title'), tracks[1][2]);
        assert.equal(await page.getAttribute('#toggle', 'aria-label'), '一時停止');
      });

      await check('at the end of track 2, track 3 plays', async () => {
        await page.waitForFunction((name) => {
          const a = document.getElementById('audio');
          return a.currentSrc.endsWith('/' + encodeURIComponent(name)) && !a.paused && a.currentTime > 0.2;
        }, tracks[2][0], { timeout: 10000 });
        assert.deepEqual(await page.$$eval('.track.current .title', (els) => els.map((e) => e.textContent)),
          [tracks[2][2]]);
        assert.match(await page.textContent('.track.current .time'), /^0:0\d \/ 1:02:03$/);
        const session = await page.evaluate(() => navigator.mediaSession && navigator.mediaSession.metadata &&
          [navigator.mediaSession.metadata.title, navigator.mediaSession.metadata.album]);
        if (session) assert.deepEqual(session, [tracks[2][2], album]);
      });

      await page.screenshot({ path: path.join(shotDir, 'album-desktop-playing.png') });

      await check('the keyboard pauses, plays, skips and moves through the list', async () => {
        await page.evaluate(() => document.activeElement && document.activeElement.blur());
        await page.keyboard.press('Space');
        assert.equal((await audioState()).paused, true);
        await page.keyboard.press('Space');
        await page.waitForFunction(() => !document.getElementById('audio').paused);
        await page.keyboard.press('n');
        await page.waitForFunction((name) => document.getElementById('audio').currentSrc
          .endsWith('/' + encodeURIComponent(name)), tracks[3][0]);
        await page.keyboard.press('p');  // early in a track: back to the one before
        await page.waitForFunction((name) => document.getElementById('audio').currentSrc
          .endsWith('/' + encodeURIComponent(name)), tracks[2][0]);

        await page.focus('.track:nth-child(1) .track-play');
        await page.keyboard.press('ArrowDown');
        assert.equal(await page.evaluate(() => document.activeElement.textContent.includes('表示能力')), true);
        await page.screenshot({ path: path.join(shotDir, 'album-desktop-focus.png') });
        // On a focused slider the arrows and space are the slider's own.
        await page.focus('#seek');
        const before = await audioState();
        await page.keyboard.press('Space');
        assert.equal((await audioState()).paused, before.paused);
      });

      await check('the player buttons have Japanese names', async () => {
        assert.deepEqual(await page.$$eval('.controls button', (els) => els.map((e) => e.getAttribute('aria-label'))),
          ['前の曲', '一時停止', '次の曲']);
        await page.click('#toggle');
        await page.waitForSelector('#toggle[aria-label="再生"]');
        assert.equal((await audioState()).paused, true);
      });

      const phone = await context.newPage();
      watch(phone);
      await phone.setViewportSize({ width: 390, height: 844 });
      await phone.goto(url);
      await phone.evaluate(() => document.fonts.ready);
      await phone.screenshot({ path: path.join(shotDir, 'album-phone.png') });
      await check('on a phone the page fits the width', async () => {
        assert.equal(await phone.evaluate(() => document.documentElement.scrollWidth), 390);
        await phone.click('.track:nth-child(1) .track-play');
        await phone.waitForFunction(() => !document.getElementById('audio').paused);
      });
      await phone.mouse.move(0, 0);  // no hover left on a row, as on a touch screen
      await phone.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
      await phone.screenshot({ path: path.join(shotDir, 'album-phone-playing.png') });

      await checkOfflineAndQuiet(outside, errors);

      await check('a track whose file is gone says so and leaves the page working', async () => {
        fs.rmSync(path.join(albumDir, tracks[3][0]));
        const gone = await context.newPage();
        await gone.goto(url);
        await gone.click('.track:nth-child(4) .track-play');
        await gone.waitForSelector('.track:nth-child(4).failed');
        assert.match(await gone.textContent('#status'), /^「<\/script>.*」を再生できませんでした。/);
        await gone.click('.track:nth-child(1) .track-play');
        await gone.waitForFunction(() => !document.getElementById('audio').paused);
        assert.equal(await gone.textContent('#status'), '');
      });
    });
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`screenshots in ${shotDir}`);
}

run(main);
