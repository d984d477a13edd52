// The library page of a large library in headless Chromium: how soon it can be used
// after opening, how long each keystroke in its search box takes, and scrolling through
// every album.
//
//   node bench/library_index_page.js [ALBUMS [untagged|big-covers]]
//
// It has build/bench/library_index_bench (BENCH in the environment to use another) lay
// out ALBUMS (4,000) album folders with covers, their small copies and their index.html
// in a temporary folder ("untagged": albums without title and artist, shown by their
// folders; "big-covers": each album's own cover of 1500 px and about 1.5 MB; a bench of
// a version without the copies gets covers of about 1 MB made here instead, which its
// page shows whole), then
// opens the page over file:// with the shared browser set-up of tests/page (run "npm ci"
// there first). Figures are medians of several runs, in ms, taken by the page's own
// clock (performance.now), each keystroke up to a forced layout of the page and of the
// first card shown ("sync") and up to the next frame drawn ("frame"). Other work on the
// machine slows every figure: the load average is printed with them.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const { withBrowser, run } = require('../tests/page/browser');

const albums = Number(process.argv[2] || 4000);
const untagged = process.argv[3] === 'untagged';
const bigCovers = process.argv[3] === 'big-covers';
const bench = process.env.BENCH || path.join(__dirname, '..', 'build', 'bench', 'library_index_bench');

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => x.toFixed(1).padStart(8);

// In the page: sets the search box to `text` as typing does, and times it.
async function keystroke(page, text) {
  return page.evaluate(async (value) => {
    const input = document.getElementById('search');
    const start = performance.now();
    input.value = value;
    input.dispatchEvent(new Event('input', { bubbles: true }));
    // A card's own size too, as a card out of sight may be left unlaid otherwise.
    const card = document.querySelector('.album:not([hidden])');
    void document.body.offsetHeight;
    void (card && card.offsetHeight);
    const sync = performance.now() - start;
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
    return { sync, frame: performance.now() - start, count: document.getElementById('count').textContent };
  }, text);
}

// Every album's jacket.jpg made a 1500×1500 JPEG of about 1 MB, the same for all (each
// file is still fetched and decoded on its own).
async function useBigCovers(context, lib) {
  const page = await context.newPage();
  const jpeg = Buffer.from(await page.evaluate(() => {
    const canvas = Object.assign(document.createElement('canvas'), { width: 1500, height: 1500 });
    const g = canvas.getContext('2d');
    const image = g.createImageData(1500, 1500);
    for (let i = 0; i < image.data.length; i += 4) {
      const x = (i / 4) % 1500;
      const y = Math.floor(i / 4 / 1500);
      image.data[i] = (x / 6 + Math.random() * 40) & 255;
      image.data[i + 1] = (y / 6 + Math.random() * 40) & 255;
      image.data[i + 2] = ((x + y) / 12 + Math.random() * 40) & 255;
      image.data[i + 3] = 255;
    }
    g.putImageData(image, 0, 0);
    for (let q = 0.95; ; q -= 0.05) {
      const url = canvas.toDataURL('image/jpeg', q);
      if (url.length * 0.75 < 1.15e6 || q < 0.3) return url.split(',')[1];
    }
  }), 'base64');
  await page.close();
  let count = 0;
  for (const artist of fs.readdirSync(lib)) {
    for (const album of fs.readdirSync(path.join(lib, artist))) {
      fs.writeFileSync(path.join(lib, artist, album, 'jacket.jpg'), jpeg);
      count++;
    }
  }
  console.log(`covers: ${count} of ${(jpeg.length / 1e6).toFixed(2)} MB, 1500×1500`);
}

// Scrolling as a wheel or a touchpad does, 60 pixels a frame from the top to the end:
// the time between frames (a smooth page draws one every 16.7 ms), the covers the page
// loaded on the way, and the memory the browser's processes hold at the end.
async function smoothScroll(context, index) {
  const page = await context.newPage();
  await page.goto(pathToFileURL(index).href, { waitUntil: 'load' });
  const result = await page.evaluate(async () => {
    const frames = [];
    scrollTo(0, 0);
    await new Promise((resolve) => setTimeout(resolve, 500));
    let last = performance.now();
    while (scrollY + innerHeight < document.documentElement.scrollHeight - 1) {
      scrollBy(0, 60);
      await new Promise((resolve) => requestAnimationFrame(resolve));
      const now = performance.now();
      frames.push(now - last);
      last = now;
    }
    await new Promise((resolve) => setTimeout(resolve, 2000));
    const images = [...document.images];
    return { frames, images: images.length, loaded: images.filter((i) => i.complete && i.naturalWidth > 0).length };
  });
  const sorted = [...result.frames].sort((a, b) => a - b);
  const at = (p) => sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * p))];
  const long = result.frames.filter((f) => f > 50).length;
  console.log(`smooth scrolling, ${result.frames.length} frames (ms between frames): median ${ms(at(0.5))}, ` +
    `95th ${ms(at(0.95))}, slowest ${ms(sorted[sorted.length - 1])}, ${long} over 50 ms`);
  console.log(`covers in the page ${result.images}, loaded ${result.loaded}`);
  // The browser's processes: those that descend from this one.
  const processes = execFileSync('ps', ['-e', '-o', 'pid=,ppid=,rss='], { encoding: 'utf8' })
    .trim().split('\n').map((l) => l.trim().split(/\s+/).map(Number));
  const ours = new Set([process.pid]);
  for (let grown = true; grown;) {
    grown = false;
    for (const [pid, ppid] of processes) if (ours.has(ppid) && !ours.has(pid)) { ours.add(pid); grown = true; }
  }
  const rss = processes.filter(([pid]) => pid !== process.pid && ours.has(pid)).reduce((sum, [, , kb]) => sum + kb, 0);
  console.log(`memory of the browser's processes (resident): ${(rss / 1024).toFixed(0)} MB`);
  await page.close();
}

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-index-bench-'));
  try {
    const index = execFileSync(bench, ['page', work, String(albums), ...(untagged ? ['untagged'] : []),
      ...(bigCovers ? ['big-covers'] : [])], { encoding: 'utf8' }).trim();
    const copies = fs.existsSync(path.join(work, 'index-covers'));
    console.log(`${albums} ${untagged ? 'untagged ' : ''}albums, page of ${(fs.statSync(index).size / 1e6).toFixed(2)} MB, ` +
      `load average ${os.loadavg()[0].toFixed(1)} on ${os.cpus().length} processors`);
    await withBrowser([], async ({ context }) => {
      if (bigCovers && !copies) await useBigCovers(context, path.join(work, 'library'));
      const loads = [];
      for (let r = 0; r < 5; r++) {
        const page = await context.newPage();
        await page.goto(pathToFileURL(index).href, { waitUntil: 'load' });
        loads.push(await page.evaluate(() => {
          const nav = performance.getEntriesByType('navigation')[0];
          const paint = performance.getEntriesByName('first-contentful-paint')[0];
          return { ready: nav.domContentLoadedEventEnd, paint: paint ? paint.startTime : NaN, load: nav.loadEventEnd };
        }));
        await page.close();
      }
      console.log('opening (ms from navigation start)');
      console.log(`  script ready (DOMContentLoaded end) ${ms(median(loads.map((l) => l.ready)))}`);
      console.log(`  first cards drawn (first paint)    ${ms(median(loads.map((l) => l.paint)))}`);
      console.log(`  load event end                     ${ms(median(loads.map((l) => l.load)))}`);

      const page = await context.newPage();
      await page.goto(pathToFileURL(index).href, { waitUntil: 'load' });
      const cases = [
        ['a word matching one album', '0399', ''],
        ['clearing from one album', '', '0399'],
        ['a word matching none', 'zzzz', ''],
        ['romaji matching every album', 'arubamu', ''],
        ['kana matching one album', 'あるばむ 0399', ''],
        ['clearing from none', '', 'zzzz'],
      ];
      const times = new Map(cases.map(([name]) => [name, []]));
      const counts = new Map();
      const typing = [];
      for (let r = 0; r < 5; r++) {
        for (const [name, text, before] of cases) {
          await keystroke(page, before);
          const t = await keystroke(page, text);
          times.get(name).push(t);
          counts.set(name, t.count || 'all');
        }
        // Typing "アルバム 0399" key by key from an empty box: the slowest key.
        await keystroke(page, '');
        const word = 'アルバム 0399';
        let worst = 0;
        for (let i = 1; i <= word.length; i++) worst = Math.max(worst, (await keystroke(page, word.slice(0, i))).frame);
        typing.push(worst);
      }
      console.log('keystrokes (ms)                        sync    frame   shown');
      for (const [name] of cases) {
        const t = times.get(name);
        console.log(`  ${name.padEnd(32)} ${ms(median(t.map((x) => x.sync)))} ${ms(median(t.map((x) => x.frame)))}   ${counts.get(name)}`);
      }
      console.log(`  typing "アルバム 0399", slowest key          ${ms(median(typing))}`);

      if (process.env.LIBRARY_BENCH_SCROLL === '0') return;  // no scrolling: opening and typing only
      // Scrolling through every album a screen at a time, from the top.
      await keystroke(page, '');
      const scrolling = await page.evaluate(async () => {
        const frame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
        scrollTo(0, 0);
        await frame();
        let worst = 0;
        let screens = 0;
        const start = performance.now();
        while (scrollY + innerHeight < document.documentElement.scrollHeight - 1 && screens < 10000) {
          const t = performance.now();
          scrollBy(0, innerHeight);
          void document.body.offsetHeight;
          await frame();
          worst = Math.max(worst, performance.now() - t);
          screens++;
        }
        return { worst, screens, total: performance.now() - start };
      });
      console.log(`scrolling to the end, ${scrolling.screens} screens: slowest ${ms(scrolling.worst)}, in all ${ms(scrolling.total)}`);
      await page.close();
      await smoothScroll(context, index);
    });
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

run(main);
