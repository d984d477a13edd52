// What the browser tests share: playwright-core from this folder, the environment CTest
// sets, tones for lame to encode, named checks, and headless Chromium that may read
// file:// only.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

// Loaded first, so that a test without it ends before it makes anything.
let chromium;
try {
  ({ chromium } = require(path.join(__dirname, 'node_modules', 'playwright-core')));
} catch (e) {
  console.error(`playwright-core is not installed in ${path.join(__dirname, 'node_modules')}.\n` +
    'Install it with "npm ci" in tests/page (./build.sh test does this).');
  process.exit(1);
}

const env = (name, fallback) => {
  const value = process.env[name] || fallback;
  if (!value) throw new Error(`${name} is not set`);
  return value;
};

// A mono 16-bit sine tone as a WAV file.
function writeTone(file, seconds, hertz) {
  const rate = 22050;
  const samples = Math.round(rate * seconds);
  const wav = Buffer.alloc(44 + samples * 2);
  wav.write('RIFF', 0, 'ascii');
  wav.writeUInt32LE(36 + samples * 2, 4);
  wav.write('WAVEfmt ', 8, 'ascii');
  wav.writeUInt32LE(16, 16);
  wav.writeUInt16LE(1, 20);
  wav.writeUInt16LE(1, 22);
  wav.writeUInt32LE(rate, 24);
  wav.writeUInt32LE(rate * 2, 28);
  wav.writeUInt16LE(2, 32);
  wav.writeUInt16LE(16, 34);
  wav.write('data', 36, 'ascii');
  wav.writeUInt32LE(samples * 2, 40);
  for (let i = 0; i < samples; i++) {
    const fade = Math.min(1, i / 500, (samples - i) / 500);
    wav.writeInt16LE(Math.round(8000 * fade * Math.sin((2 * Math.PI * hertz * i) / rate)), 44 + i * 2);
  }
  fs.writeFileSync(file, wav);
}

// Named checks: each runs, says ok or FAIL with its error, and the run goes on.
const failures = [];
async function check(name, body) {
  try {
    await body();
    console.log(`ok   ${name}`);
  } catch (e) {
    failures.push(name);
    console.log(`FAIL ${name}\n     ${String(e && e.stack || e).split('\n').join('\n     ')}`);
  }
}
// The check every browser test ends with: the pages stayed offline and quiet.
function checkOfflineAndQuiet(outside, errors) {
  return check('no request left file:// and nothing went to the console as an error', async () => {
    assert.deepEqual(outside, []);
    assert.deepEqual(errors, []);
  });
}
function finish() {
  if (failures.length) {
    console.log(`${failures.length} check(s) failed`);
    process.exit(1);
  }
}

// Runs `body({ context, outside, errors, watch })` in headless Chromium with a profile
// of its own, removed afterwards. Requests other than file:// are refused and written
// down in `outside`; console errors and uncaught exceptions of the pages passed to
// `watch` go to `errors`.
async function withBrowser(extraArgs, body) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orv-chromium-'));
  try {
    const browser = await launch(profile, extraArgs);
    try {
      await body(browser);
    } finally {
      await browser.context.close();
    }
  } finally {
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

// Runs a test's main, then says how its checks went; an error outside a check fails it.
function run(main) {
  main().then(finish, (e) => {
    console.error(e);
    process.exit(1);
  });
}

async function launch(profile, extraArgs) {
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: env('CHROMIUM', '/usr/bin/chromium'),
    headless: true,
    viewport: { width: 1280, height: 860 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      ...extraArgs],
  });
  const outside = [];
  const errors = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file:')) return route.continue();
    outside.push(url);
    return route.abort();
  });
  context.on('request', (request) => {
    if (!request.url().startsWith('file:')) outside.push(request.url());
  });
  const watch = (page) => {
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    page.on('pageerror', (e) => errors.push(String(e)));
    return page;
  };
  return { context, outside, errors, watch };
}

module.exports = { env, writeTone, check, checkOfflineAndQuiet, withBrowser, run };
