// The device's web view in a real browser: Debian's headless Chromium driven
// over the DevTools protocol by puppeteer-core (no browser is downloaded).
//
//   node view_browser.js TOOL DEVICE URL BOUND-MS
//
// TOOL is tools/device, URL what `TOOL view DEVICE` printed. Checks, printing
// "ok: ..." or "FAILED: ..." each:
//  - the URL without its secret, and with another one, shows no screen;
//  - with it, the page shows the device's screen at twice its size, and what
//    the page shows, scaled back, is what `TOOL shot` sees on the device;
//  - a click on the Options tab in the page is a tap on the device (the
//    caller checks that the device then shows the Options page).
// Every wait is for a condition, bounded by BOUND-MS. Exit status 0 when
// all passed.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = requirePackage('puppeteer-core');

// A node package of package.json, or one line that says how to get it.
function requirePackage(name) {
    try {
        return require(name);
    } catch (e) {
        if (e.code !== 'MODULE_NOT_FOUND') throw e;
        console.log(`FAILED: the node package ${name} is missing: run npm ci in ${path.resolve(__dirname, '../..')}`);
        process.exit(1);
    }
}

const [tool, device, url, boundText, trace] = process.argv.slice(2);
const bound = Number(boundText);
const SCREEN = { width: 240, height: 320 };
let failures = 0;

function check(what, ok) {
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
    if (!ok) failures++;
    return ok;
}

// Polls CONDITION (an async function) until it holds or the bound passes.
async function until(condition) {
    const end = Date.now() + bound;
    for (;;) {
        const value = await condition();
        if (value || Date.now() > end) return value;
        await new Promise(resolve => setTimeout(resolve, 200));   // the poll's pace, not a wait for time
    }
}

async function open(browser, address) {
    const page = await browser.newPage();
    await page.setViewport({ width: 1280, height: 900 });
    await page.goto(address);
    await page.waitForFunction(() => document.body.dataset.state !== 'connecting', { timeout: bound });
    return page;
}

function deviceShot() {
    const file = path.join(os.tmpdir(), `view-shot-${process.pid}.png`);
    execFileSync(tool, ['shot', device, file]);
    const data = fs.readFileSync(file).toString('base64');
    fs.unlinkSync(file);
    return `data:image/png;base64,${data}`;
}

// The share of the device's pixels that the page shows otherwise: the page's
// picture of the screen, scaled back to 240 x 320, against the device's own
// shot. The clock in the navigation bar may have moved on by a minute.
async function differingShare(page) {
    const screen = await page.$('#screen canvas');
    const shown = `data:image/png;base64,${await screen.screenshot({ encoding: 'base64' })}`;
    return page.evaluate(async (a, b, size) => {
        const pixels = async source => {
            const image = new Image();
            image.src = source;
            await image.decode();
            const canvas = document.createElement('canvas');
            canvas.width = size.width;
            canvas.height = size.height;
            const context = canvas.getContext('2d');
            context.imageSmoothingEnabled = false;
            context.drawImage(image, 0, 0, size.width, size.height);
            return context.getImageData(0, 0, size.width, size.height).data;
        };
        const [p, q] = [await pixels(a), await pixels(b)];
        let differing = 0;
        for (let i = 0; i < p.length; i += 4) {
            if (Math.abs(p[i] - q[i]) > 48 || Math.abs(p[i + 1] - q[i + 1]) > 48 || Math.abs(p[i + 2] - q[i + 2]) > 48)
                differing++;
        }
        return differing / (size.width * size.height);
    }, shown, deviceShot(), SCREEN);
}

async function main() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'view-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        // Root in a container with no network but the loopback address. Even
        // with its background networking off, Chromium looks up its account
        // and update hosts; the resolver rule answers every name but the
        // page's own address here, so the browser asks no DNS server.
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync',
               '--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1'],
    });
    try {
        const secretless = new URL(url);
        secretless.search = '';
        const guessed = new URL(url);
        guessed.searchParams.set('token', '0'.repeat(32));
        for (const [what, address] of [['without its secret', secretless], ['with another secret', guessed]]) {
            const page = await open(browser, address.href);
            check(`the URL ${what} shows no screen`,
                  await page.evaluate(() => document.body.dataset.state === 'closed' && !document.querySelector('#screen canvas')?.width));
            await page.close();
        }

        const page = await open(browser, url);
        if (!check('the URL with its secret shows the screen', await page.evaluate(() => document.body.dataset.state) === 'connected'))
            return;
        const box = await (await page.$('#screen canvas')).boundingBox();
        check(`at twice the handheld's size (${box.width} x ${box.height})`,
              Math.round(box.width) === 2 * SCREEN.width && Math.round(box.height) === 2 * SCREEN.height);
        let share = 1;
        await until(async () => (share = await differingShare(page)) < 0.01);
        check(`the page shows what the device shows (${(share * 100).toFixed(2)}% of pixels differ)`, share < 0.01);

        // The Options tab, where the device itself says it is.
        const at = execFileSync(tool, ['exec', device, 'D:\\Windows\\screenpos.exe', 'tab', '1']).toString().trim().split(/\s+/).map(Number);
        if (check(`the device has its Options tab at ${at.join(',')}`, at.length === 2 && at.every(Number.isFinite))) {
            const scale = box.width / SCREEN.width;
            await page.mouse.click(box.x + (at[0] + 0.5) * scale, box.y + (at[1] + 0.5) * scale);
            // The page stays connected until the device has drawn what the
            // click asked for: closed at once, the browser may take the click
            // with it before the VNC server has read it.
            if (trace)
                await until(() => fs.existsSync(trace) && fs.readFileSync(trace, 'latin1').includes('L"Select Cleaning Options'));
        }
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().then(() => process.exit(failures ? 1 : 0),
            error => { console.log(`FAILED: ${error.message}`); process.exit(1); });
