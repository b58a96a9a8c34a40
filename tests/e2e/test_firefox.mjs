// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser program in a third engine, Firefox (Gecko): headless Debian firefox-esr, driven
// through WebDriver BiDi by puppeteer-core (package.json; `npm ci` installs it), with real
// pointer and key input, read through the page's elements and roles: the game to 50 and the about
// window, and the game after one visit with the server gone. Each case serves a fresh copy of the
// built site of its own, in a fresh profile, and fails on any error the page reports and on any
// violation of its security policy. Ends with 77, which CTest takes for skipped, where Firefox,
// puppeteer-core or the site is missing.
//
//     node tests/e2e/test_firefox.mjs

import assert from 'node:assert/strict';
import fs from 'node:fs';
import {spawn} from 'node:child_process';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';

const SITE = path.resolve(process.env.BARGELING_SITE ?? 'build-web/site');
const SHOTS = path.resolve(process.env.BARGELING_SHOTS ?? 'build-web/e2e-shots');
const SERVER = path.join(import.meta.dirname, '..', '..', 'scripts', 'site_server.py');
const FIREFOX = (process.env.PATH ?? '').split(path.delimiter).map((dir) => path.join(dir, 'firefox-esr'))
    .find((file) => fs.existsSync(file));
const AFLOAT = (n) => `Antall dyr på arken: ${n}`;
const ADD_TEXT = 'Sleng inn et dyr i Arken!';
// As tests/e2e/harness.py has them.
const MESSAGE_50 = 'jaggu du har vist greid å stappe inn 50 dyr i Arken til Noah';
const CREDITS = 'Jaggu du fant den super hemmelige about screenen';
const FORM = [449, 213], COUNT = [304, 16, 121, 81], ADD = [304, 112, 121, 81];

function skip(why) {
    console.log(`SKIP: ${why}`);
    process.exit(77);
}
if (!FIREFOX) skip('missing tool: firefox-esr (scripts/test installs it)');
if (!fs.existsSync(path.join(SITE, 'index.html'))) skip(`build the browser program first (scripts/build-web): ${SITE}`);
const puppeteer = await import('puppeteer-core').then((m) => m.default,
    () => skip('missing puppeteer-core: run npm ci in the project root (scripts/test does)'));

// A fresh copy of the site, in a folder of the server as a host serves a game among others, with
// tips.txt as given, served as scripts/run --web serves it (scripts/site_server.py), uncached.
// stop() takes the server away, so that connections are refused; close() also removes the copy.
const BASE = '/spill/bargeling/';
async function serve(folder, tips) {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'bargeling-site-'));
    const site = path.join(root, ...BASE.split('/').filter(Boolean));
    fs.cpSync(folder, site, {recursive: true});
    if (tips !== undefined) fs.writeFileSync(path.join(site, 'tips.txt'), tips);
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

async function stays(predicate, ms = 1000) {
    for (const deadline = Date.now() + ms; Date.now() < deadline; await new Promise((r) => setTimeout(r, 50)))
        if (!(await predicate())) return false;
    return Boolean(await predicate());
}

const near = (a, b) => a.length === b.length && a.every((x, i) => Math.abs(x - b[i]) <= 1);

// What the tests read, in the page: the labels' texts, and boxes in CSS pixels of the viewport.
// A form is the nearest element holding the list and both labels; its box is its client area.
const READ = `{
    buttons: () => [...document.querySelectorAll('[role=button]')],
    texts: () => T.buttons().map((b) => b.textContent),
    box: (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; },
    client: (e) => { const r = e.getBoundingClientRect(), s = e.offsetWidth ? r.width / e.offsetWidth : 1;
        return [r.x + e.clientLeft * s, r.y + e.clientTop * s, e.clientWidth * s, e.clientHeight * s]; },
    form: () => { const [count, add] = T.buttons(), list = document.querySelector('[role=listbox]');
        let form = list; while (!form.contains(count) || !form.contains(add)) form = form.parentElement;
        return T.client(form); },
    inForm: (i) => { const [x, y] = T.form(), b = T.box(T.buttons()[i]); return [b[0] - x, b[1] - y, b[2], b[3]]; },
    dialog: () => { const d = document.querySelector('dialog[open]'); if (!d) return null;
        const text = (a) => document.getElementById(d.getAttribute(a))?.textContent;
        return [text('aria-labelledby'), text('aria-describedby'), document.activeElement?.textContent]; },
}`;

// A fresh site and a fresh Firefox, the page open, and what the cases do with it.
async function start(t, tips) {
    const site = await serve(SITE, tips);
    t.after(site.close);
    const {browser, close} = await firefox();
    t.after(close);
    const page = await open(browser, site.url);
    const read = (expression) => page.evaluate(`(() => { const T = ${READ}; return ${expression}; })()`);
    const clickLabel = async (i, dx = 0, clicks = 1) => {
        const [x, y, w, h] = await read(`T.box(T.buttons()[${i}])`);
        await page.mouse.click(x + w / 2 + dx, y + h / 2, {count: clicks});
    };
    const shot = async (name) => {
        fs.mkdirSync(SHOTS, {recursive: true});
        await page.screenshot({path: path.join(SHOTS, `web-Firefox-${name}.png`)});
    };
    return {site, page, read, clickLabel, shot, count: () => read('T.texts()[0]')};
}

test('Firefox plays to the message at 50 and shows the about window', async (t) => {
    const {page, read, clickLabel, shot, count} = await start(t);
    await until('the main form', async () => (await read('T.texts()')).length >= 2, 30000);
    assert.equal(await page.title(), 'Bargeling 2000');
    assert.deepEqual((await read('T.texts()')).slice(0, 2), [AFLOAT(0), ADD_TEXT]);
    const form = await read('T.form()');
    assert.ok(near(form.slice(2), FORM), `the main form is ${form.slice(2)}, not ${FORM}`);
    assert.ok(near(await read('T.inForm(0)'), COUNT), `the count label is at ${await read('T.inForm(0)')}`);
    assert.ok(near(await read('T.inForm(1)'), ADD), `the add label is at ${await read('T.inForm(1)')}`);
    await shot('start');

    await clickLabel(1, 0, 2);
    await until(`"${AFLOAT(1)}" after a double-click`, async () => (await count()) === AFLOAT(1));
    assert.ok(await stays(async () => (await count()) === AFLOAT(1)), `a double-click gave ${await count()}`);

    for (let i = 2; i <= 50; i++) // neighbouring clicks land apart, so none pairs into a double-click
        await clickLabel(1, i % 2 ? -30 : 30);
    const message = await until('the message at 50', () => read('T.dialog()'));
    assert.deepEqual(message, ['Bargeling 2.0', MESSAGE_50, 'OK'], 'the message at 50: title, text, focus');
    await clickLabel(1); // behind the message: lost
    assert.ok(await stays(async () => (await count()) === AFLOAT(50)), `a click behind the message gave ${await count()}`);
    await shot('message-50');
    await page.keyboard.press('Enter');
    await until('the message to close on Return', async () => (await read('T.dialog()')) === null);
    assert.equal(await count(), AFLOAT(50));

    await clickLabel(0);
    const credits = await until('the about window', () => read(
        'T.buttons()[2]?.checkVisibility() && [T.buttons()[2].textContent, T.box(T.buttons()[2]), T.form()]'));
    const [text, [ax], [fx, , fw]] = credits;
    assert.ok(text.startsWith(CREDITS), `the about window says: ${text}`);
    assert.ok(ax >= fx + fw, `the about window at x ${ax} is not beside the form (${fx} + ${fw})`);
    await shot('about');
    assert.deepEqual(await reported(page), [], 'the page reported errors');
});

// As WebProgram.kept_for_offline in tests/e2e/harness.py: the worker controls the page, and each of
// its stores holds the page and the animal file.
const KEPT = `(async () => {
    const names = navigator.serviceWorker.controller ? await caches.keys() : [];
    for (const cache of await Promise.all(names.map((name) => caches.open(name))))
        if (!(await cache.match('tips.txt')) || !(await cache.match('./'))) return null;
    return names.length ? names : null;
})()`;

test('Firefox plays offline after one visit, with that visit\'s animals', async (t) => {
    const {site, page, read, clickLabel, shot, count} = await start(t, 'Offline-okse\n');
    await until('the service worker to keep the site', () => page.evaluate(KEPT), 30000);
    await reported(page);
    site.stop(); // connections refused from here on
    await page.goto('about:blank'); // else the navigation to the page shown would be a reload
    await page.goto(site.url);
    assert.equal(await page.title(), 'Bargeling 2000', 'the page offline');
    for (let i = 0; i < 2; i++) await clickLabel(1, i % 2 ? -30 : 30);
    await until(`"${AFLOAT(2)}" offline`, async () => (await count()) === AFLOAT(2), 30000);
    assert.deepEqual(await read(`[...document.querySelectorAll('[role=option]')].map((o) => o.textContent)`),
        ['Offline-okse', 'Offline-okse']);
    await shot('offline');
    assert.deepEqual(await reported(page), [], 'the page reported errors');
});
