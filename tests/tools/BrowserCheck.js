// Opens HTML lessons in headless Chromium through the DevTools protocol, at 1280 and at 360
// pixels wide, saves a full-page PNG of each, and prints every fault found, one per line:
// console errors, requests that leave the file, missing page sections, formula pictures with an
// empty box, text running past the page's width. Exit status 0 without faults, 1 with, 2 when
// Chromium cannot be run.
//   node BrowserCheck.js CHROMIUM OUTDIR SECTIONS FILE.html...
'use strict';
const {spawn} = require('child_process');

// Node 22 has a WebSocket client of its own; older ones (Debian 12 ships 18) take Debian's ws
// package, which a node from elsewhere finds only by its path.
function webSocketClass() {
    if (globalThis.WebSocket) return globalThis.WebSocket;
    for (const name of ['ws', '/usr/share/nodejs/ws']) {
        try {
            return require(name);
        } catch (e) {
            // try the next place
        }
    }
    throw new Error('no WebSocket client: install node-ws');
}
const fs = require('fs');
const path = require('path');

const [chromium, outDir, sectionsText, ...files] = process.argv.slice(2);
const sections = Number(sectionsText);
const widths = [1280, 360];
const faults = [];

function launch() {
    const profile = fs.mkdtempSync(path.join(outDir, 'profile-'));
    // The closed network refuses connections the browser would make by itself.
    const child = spawn(chromium, [
        '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--hide-scrollbars', '--remote-debugging-port=0', '--user-data-dir=' + profile,
        'about:blank',
    ], {stdio: ['ignore', 'ignore', 'pipe']});
    return new Promise((resolve, reject) => {
        let text = '';
        const timer = setTimeout(() => reject(new Error('Chromium did not start')), 60000);
        child.stderr.on('data', (chunk) => {
            text += chunk;
            const m = /DevTools listening on (ws:\/\/\S+)/.exec(text);
            if (m) {
                clearTimeout(timer);
                resolve({child, url: m[1]});
            }
        });
        child.on('error', reject);
        child.on('exit', () => reject(new Error('Chromium ended: ' + text.slice(-500))));
    }).then((launched) => ({...launched, profile}));
}

// One DevTools connection: send() resolves with a command's result, on() hears events.
function connect(url) {
    const WebSocket = webSocketClass();
    const socket = new WebSocket(url);
    let next = 0;
    const waiting = new Map();
    const listeners = [];
    socket.onmessage = (event) => {
        const message = JSON.parse(event.data);
        if (message.id !== undefined && waiting.has(message.id)) {
            const {resolve, reject} = waiting.get(message.id);
            waiting.delete(message.id);
            if (message.error) reject(new Error(JSON.stringify(message.error)));
            else resolve(message.result);
        } else {
            for (const listen of listeners) listen(message);
        }
    };
    const send = (method, params = {}, sessionId) =>
        new Promise((resolve, reject) => {
            const id = ++next;
            waiting.set(id, {resolve, reject});
            socket.send(JSON.stringify({id, method, params, sessionId}));
        });
    return new Promise((resolve, reject) => {
        socket.onopen = () => resolve({send, on: (f) => listeners.push(f), close: () => socket.close()});
        socket.onerror = () => reject(new Error('cannot connect to ' + url));
    });
}

// Runs in the page: what a reader would find wrong with it.
function pageFaults(sections) {
    const found = [];
    const pages = document.querySelectorAll('section.page');
    if (pages.length !== sections) found.push(pages.length + ' page sections, not ' + sections);
    pages.forEach((page, i) => {
        if (!page.querySelector('h2') || !page.querySelector('h2').textContent.trim())
            found.push('page section ' + (i + 1) + ' has no title');
    });
    const formulas = document.querySelectorAll('svg[role="math"]');
    if (formulas.length === 0) found.push('no formula');
    formulas.forEach((svg, i) => {
        const box = svg.getBoundingClientRect();
        if (!(box.width > 0 && box.height > 0)) found.push('formula ' + i + ' has an empty box');
        if (!svg.getAttribute('aria-label')) found.push('formula ' + i + ' has no label');
    });
    const width = document.documentElement.clientWidth;
    if (document.documentElement.scrollWidth > width)
        found.push('the page scrolls sideways: ' + document.documentElement.scrollWidth + ' > ' + width);
    // Text outside the boxes that scroll by themselves stays within the page.
    for (const el of document.querySelectorAll('h1,h2,p,li,caption,figcaption')) {
        if (el.closest('.formula,.tables')) continue;
        const box = el.getBoundingClientRect();
        if (box.right > width + 0.5 || box.left < -0.5)
            found.push('text runs past the page: "' + el.textContent.trim().slice(0, 60) + '"');
    }
    return found;
}

async function check(browser, file, width) {
    const where = path.basename(file) + ' at ' + width + ' px: ';
    const {targetId} = await browser.send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await browser.send('Target.attachToTarget', {targetId, flatten: true});
    const send = (method, params) => browser.send(method, params, sessionId);
    let loaded;
    const load = new Promise((resolve) => (loaded = resolve));
    browser.on((m) => {
        if (m.sessionId !== sessionId) return;
        if (m.method === 'Page.loadEventFired') loaded();
        if (m.method === 'Runtime.exceptionThrown')
            faults.push(where + 'exception ' + m.params.exceptionDetails.text);
        if (m.method === 'Runtime.consoleAPICalled' && ['error', 'assert'].includes(m.params.type))
            faults.push(where + 'console error ' + JSON.stringify(m.params.args.map((a) => a.value)));
        if (m.method === 'Log.entryAdded' && m.params.entry.level === 'error')
            faults.push(where + 'console error ' + m.params.entry.text);
        if (m.method === 'Network.requestWillBeSent') {
            const url = m.params.request.url;
            if (!url.startsWith('file:') && !url.startsWith('data:'))
                faults.push(where + 'request leaves the file: ' + url);
        }
    });
    for (const domain of ['Page', 'Runtime', 'Log', 'Network']) await send(domain + '.enable');
    await send('Emulation.setDeviceMetricsOverride',
               {width, height: 900, deviceScaleFactor: 1, mobile: width < 600});
    await send('Page.navigate', {url: 'file://' + path.resolve(file)});
    await load;
    const result = await send('Runtime.evaluate', {
        expression: '(' + pageFaults.toString() + ')(' + sections + ')',
        returnByValue: true,
    });
    for (const fault of result.result.value || ['the page could not be examined'])
        faults.push(where + fault);
    const shot = await send('Page.captureScreenshot', {format: 'png', captureBeyondViewport: true});
    const name = path.basename(file, '.html') + '-' + width + '.png';
    fs.writeFileSync(path.join(outDir, name), Buffer.from(shot.data, 'base64'));
    await browser.send('Target.closeTarget', {targetId});
}

(async () => {
    let launched;
    try {
        launched = await launch();
    } catch (e) {
        console.error(e.message);
        process.exit(2);
    }
    const browser = await connect(launched.url);
    try {
        for (const file of files)
            for (const width of widths) await check(browser, file, width);
    } catch (e) {
        faults.push('the check failed: ' + e.message);
    }
    browser.close();
    launched.child.kill();
    // Chromium's helpers may still be writing to the profile for a moment.
    launched.child.on('exit', () => {
        try {
            fs.rmSync(launched.profile, {recursive: true, force: true, maxRetries: 10, retryDelay: 200});
        } catch (e) {
            console.error('profile left behind: ' + e.message);
        }
    });
    for (const fault of faults) console.log(fault);
    process.exitCode = faults.length ? 1 : 0;
})();
