// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser program in a third engine, Firefox (Gecko): headless Debian firefox-esr, driven
// through WebDriver BiDi by puppeteer-core (package.json; `npm ci` installs it), with real
// pointer and key input, read through the page's elements and roles (in_page.js): the game's
// behaviours (behaviours.json), one test a case, and the game after one visit with the server
// gone. Each case serves a fresh copy of the built site of its own, in a fresh profile, and fails
// on any error the page reports and on any violation of its security policy. Ends before any test
// runs where Firefox, puppeteer-core or the site is missing: with 77, which CTest takes for
// skipped, or under CI=true, where scripts/test has installed and built them, with 1.
//
//     node tests/e2e/test_firefox.mjs [FirefoxBehaviours | FirefoxApp ...]

import assert from 'node:assert/strict';
import fs from 'node:fs';
import {spawn} from 'node:child_process';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import {isDeepStrictEqual} from 'node:util';

const SITE = path.resolve(process.env.BARGELING_SITE ?? 'build-web/site');
const SHOTS = path.resolve(process.env.BARGELING_SHOTS ?? 'build-web/e2e-shots');
const SERVER = path.join(import.meta.dirname, '..', '..', 'scripts', 'site_server.py');
const FIREFOX = (process.env.PATH ?? '').split(path.delimiter).map((dir) => path.join(dir, 'firefox-esr'))
    .find((file) => fs.existsSync(file));
const IN_PAGE = fs.readFileSync(path.join(import.meta.dirname, 'in_page.js'), 'utf8');
const TABLE = JSON.parse(fs.readFileSync(path.join(import.meta.dirname, 'behaviours.json'), 'utf8'));
const GROUPS = process.argv.slice(2);
const AFLOAT = (n) => `Antall dyr på arken: ${n}`;

function skip(why) {
    console.log(`SKIP: ${why}`);
    process.exit(process.env.CI === 'true' ? 1 : 77);
}
if (!FIREFOX) skip('missing tool: firefox-esr (scripts/test installs it)');
if (!fs.existsSync(path.join(SITE, 'index.html'))) skip(`build the browser program first (scripts/build-web): ${SITE}`);
const puppeteer = await import('puppeteer-core').then((m) => m.default,
    () => skip('missing puppeteer-core: run npm ci in the project root (scripts/test does)'));

// A fresh copy of the site, in a folder of the server as a host serves a game among others, with
// tips.txt as given (null: none; undefined: the bundled one), served as scripts/run --web serves it
// (scripts/site_server.py), uncached.
// stop() takes the server away, so that connections are refused; close() also removes the copy.
const BASE = '/spill/bargeling/';
async function serve(folder, tips) {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'bargeling-site-'));
    const site = path.join(root, ...BASE.split('/').filter(Boolean));
    fs.cpSync(folder, site, {recursive: true});
    if (tips === null) fs.rmSync(path.join(site, 'tips.txt'));
    else if (tips !== undefined) fs.writeFileSync(path.join(site, 'tips.txt'), tips);
    const server = spawn('python3', [SERVER, root, '--port', '0', '--cache-control', 'no-store'], {stdio: ['ignore', 'pipe', 'ignore']});
    let said = '';
    server.stdout.on('data', (part) => { said += part; });
    const [address] = await until('the site server', () => said.match(/http:\/\/[\d.:]+/));
    const stop = () => server.kill();
    return {stop, url: address + BASE, close: () => { stop(); fs.rmSync(root, {recursive: true}); }};
}

// Headless Firefox with a profile of its own, in a window as large as the other engines'.
async function firefox(profile = fs.mkdtempSync(path.join(os.tmpdir(), 'bargeling-firefox-'))) {
    const browser = await puppeteer.launch({browser: 'firefox', executablePath: FIREFOX, headless: true,
        userDataDir: profile, defaultViewport: {width: 1280, height: 960}});
    return {browser, close: async () => { await browser.close(); fs.rmSync(profile, {recursive: true, force: true}); }};
}

// Every violation of the page's security policy, recorded in each document before its scripts run.
const WATCH = `window.violations = [];
    document.addEventListener('securitypolicyviolation', (e) => window.violations.push(
        \`\${e.effectiveDirective} blocked \${e.blockedURI || 'inline'} at \${e.sourceFile}:\${e.lineNumber}\`));`;

// A page that records every error it reports, in its console or thrown, and in each document the
// violations of its security policy.
async function open(browser, url) {
    const page = await browser.newPage();
    page.errors = [];
    page.on('console', (m) => m.type() === 'error' && page.errors.push(`console: ${m.text()}`));
    page.on('pageerror', (e) => page.errors.push(`page: ${e.message ?? e}`));
    await page.evaluateOnNewDocument(WATCH);
    await page.goto(url);
    return page;
}

// What the page reported, with the violations in the document shown: once for each document,
// before it goes.
async function reported(page) {
    const violations = await page.evaluate('window.violations ?? ["not watched"]');
    page.errors.push(...violations.map((v) => `security policy: ${v}`));
    return page.errors;
}

async function until(what, predicate, timeout = 10000) {
    for (const deadline = Date.now() + timeout; ; await new Promise((r) => setTimeout(r, 50))) {
        const value = await predicate();
        if (value) return value;
        if (Date.now() > deadline) assert.fail(`timed out waiting for ${what}`);
    }
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// A fresh site and a fresh Firefox, the page open with its form shown, and what the cases do with it.
async function start(t, tips) {
    const site = await serve(SITE, tips);
    t.after(site.close);
    const {browser, close} = await firefox();
    t.after(close);
    const page = await open(browser, site.url);
    const inPage = (f, ...args) => page.evaluate(`(${IN_PAGE}).${f}(...${JSON.stringify(args)})`);
    await until('the main form', () => inPage('ready'), 30000);
    const shot = async (name) => {
        fs.mkdirSync(SHOTS, {recursive: true});
        await page.screenshot({path: path.join(SHOTS, `web-Firefox-${name}.png`)});
    };
    return {site, page, inPage, shot};
}

// A case of the table, played as behaviours.py plays it for the Python harnesses: what is seen
// after a step is awaited, then must hold half a second longer. OK on a message is Return, which
// reaches OK only where the message gave it the focus; clicks are real, a run of them one chain.
const KEYS = {Up: 'ArrowUp', Down: 'ArrowDown', End: 'End', Tab: 'Tab', space: ' ', Return: 'Enter', s: 's'};
const expected = (key, value) => ['count', 'add'].includes(key) && Array.isArray(value)
    ? TABLE.texts[value[0]].replace('{n}', value[1]) : value;
const matches = (key, want, got) => key === 'credits' ? typeof got === 'string' && got.startsWith(want[0]) && got.endsWith(want[1])
    : key === 'layout' ? Object.entries(want).every(([k, v]) => got?.[k]?.length === v.length && v.every((x, i) => Math.abs(x - got[k][i]) <= 1))
    : isDeepStrictEqual(got, want);

async function play(t, number, c) {
    const {page, inPage, shot} = await start(t, c.tips === undefined ? undefined : c.tips && c.tips.map((line) => `${line}\n`).join(''));
    const act = {
        click: async ({click, run}) => page.mouse.click(...await inPage('spot', click), {count: run ?? 1}),
        throw: async (step) => { // clicks that never pair: each 30 pixels to the other side of the last
            const [x, y] = await inPage('spot', 'add');
            for (let i = 0; i < step.throw; i++) await page.mouse.click(x + (i % 2 ? -30 : 30), y);
        },
        press: (step) => inPage('press', step.press),
        key: (step) => page.keyboard.press(KEYS[step.key]),
        dismiss: () => page.keyboard.press('Enter'),
    };
    for (const [i, step] of c.steps.entries()) {
        await act[Object.keys(act).find((a) => a in step)]?.(step);
        const want = Object.entries(step.see ?? {}).map(([k, v]) => [k, expected(k, v)]);
        const seen = async () => { const got = {}; for (const [k] of want) got[k] = await inPage('see', k); return got; };
        const holds = async () => { const got = await seen(); return want.every(([k, v]) => matches(k, v, got[k])); };
        for (const deadline = Date.now() + 10000; !(await holds()) && Date.now() < deadline;) await sleep(50);
        for (const deadline = Date.now() + 500; (await holds()) && Date.now() < deadline;) await sleep(50);
        const got = await seen();
        assert.ok(want.every(([k, v]) => matches(k, v, got[k])), `${c.name}, step ${i + 1} ${JSON.stringify(step)}: saw ${JSON.stringify(got)}`);
    }
    await shot(`FirefoxBehaviours-${String(number).padStart(2, '0')}`);
    assert.deepEqual(await reported(page), [], 'the page reported errors');
}

if (!GROUPS.length || GROUPS.includes('FirefoxBehaviours'))
    TABLE.cases.forEach((c, i) => test(`FirefoxBehaviours ${i + 1}: ${c.name}`, (t) => play(t, i + 1, c)));

// As WebProgram.kept_for_offline in tests/e2e/harness.py: the worker controls the page, and each of
// its stores holds the page and the animal file (read with caches.match, which makes no store).
const KEPT = `(async () => {
    const names = navigator.serviceWorker.controller ? await caches.keys() : [];
    for (const cacheName of names)
        if (!(await caches.match('tips.txt', {cacheName})) || !(await caches.match('./', {cacheName}))) return null;
    return names.length ? names : null;
})()`;

if (!GROUPS.length || GROUPS.includes('FirefoxApp'))
test('FirefoxApp: plays offline after one visit, with that visit\'s animals', async (t) => {
    const {site, page, inPage, shot} = await start(t, 'Offline-okse\n');
    await until('the service worker to keep the site', () => page.evaluate(KEPT), 30000);
    await reported(page);
    site.stop(); // connections refused from here on
    await page.goto('about:blank'); // else the navigation to the page shown would be a reload
    await page.goto(site.url);
    assert.equal(await page.title(), 'Bargeling 2000', 'the page offline');
    await until('the main form offline', () => inPage('ready'));
    const [x, y] = await inPage('spot', 'add');
    for (let i = 0; i < 2; i++) await page.mouse.click(x + (i % 2 ? -30 : 30), y);
    await until(`"${AFLOAT(2)}" offline`, async () => (await inPage('see', 'count')) === AFLOAT(2), 30000);
    assert.deepEqual(await inPage('see', 'items'), ['Offline-okse', 'Offline-okse']);
    await shot('offline');
    assert.deepEqual(await reported(page), [], 'the page reported errors');
});
