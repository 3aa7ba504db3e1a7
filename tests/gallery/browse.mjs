// node browse.mjs PAGE SCREENSHOT [CHROMIUM]
//
// Opens a gallery page from disk in headless Chromium, driven through
// puppeteer-core, and prints what a reader of it gets, as one
// JSON object: its cards; each picture once scrolled to, whether it decoded
// and at what size; each link and whether the file it names is there; the
// elements that only injected markup would make; every request the page
// made; the number of columns, and the page's width against the window's,
// at a desktop's and at a phone's width. Saves a screenshot of the desktop
// window at SCREENSHOT. CHROMIUM is the browser to run, /usr/bin/chromium
// unless given. Exits 2 when the browser cannot be run or the page read.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const kDesktop = { width: 1280, height: 800 };
const kPhone = { width: 390, height: 844 };

// The cards and their pictures and links as the page's DOM has them. Each
// picture is scrolled to first, since the page lets them load lazily.
async function readCards(page) {
    return page.evaluate(async () => {
        const cards = [];
        for (const card of document.querySelectorAll('article')) {
            const images = [];
            for (const image of card.querySelectorAll('img')) {
                image.scrollIntoView();
                const decoded = await image.decode().then(() => true, () => false);
                images.push({
                    src: image.getAttribute('src'), url: image.src, alt: image.alt, decoded, complete: image.complete,
                    naturalWidth: image.naturalWidth, naturalHeight: image.naturalHeight,
                    width: Number(image.getAttribute('width')), height: Number(image.getAttribute('height')),
                });
            }
            cards.push({
                path: card.querySelector('h2')?.textContent ?? null,
                failed: card.classList.contains('failed'),
                error: card.querySelector('.error')?.textContent ?? null,
                counts: card.querySelector('.counts')?.textContent ?? null,
                outputs: [...card.querySelectorAll('.outputs a')].map((link) => link.textContent),
                warnings: [...card.querySelectorAll('.warnings li')].map((item) => item.textContent),
                images,
            });
        }
        return cards;
    });
}

// The file a URL names, or null when it names none.
function fileOf(url) {
    const parsed = new URL(url);
    return parsed.protocol === 'file:' ? fileURLToPath(parsed) : null;
}

// Every link's target, resolved against the page's URL, and whether it is a
// file that exists.
async function readLinks(page) {
    const links = await page.evaluate(() => [...document.querySelectorAll('a[href], img[src]')].map(
        (element) => ({ attribute: element.getAttribute('href') ?? element.getAttribute('src'),
                        url: element.href || element.src })));
    return links.map((link) => {
        const file = fileOf(link.url);
        return { ...link, file, exists: file !== null && fs.statSync(file, { throwIfNoEntry: false })?.isFile() === true };
    });
}

// How the page lays out in the window it has now.
async function readLayout(page) {
    return page.evaluate(() => {
        const lefts = new Set([...document.querySelectorAll('article')].map(
            (card) => Math.round(card.getBoundingClientRect().left)));
        return {
            viewportWidth: window.innerWidth,
            scrollWidth: document.scrollingElement.scrollWidth,
            columns: lefts.size,
            widestImage: Math.max(0, ...[...document.querySelectorAll('img')].map(
                (image) => image.getBoundingClientRect().right)),
        };
    });
}

async function browse(pagePath, screenshotPath, browser) {
    const page = await browser.newPage();
    const requests = [];
    page.on('request', (request) => requests.push(request.url()));
    await page.setViewport(kDesktop);
    await page.goto(pathToFileURL(path.resolve(pagePath)).href, { waitUntil: 'load' });
    const report = {
        title: await page.title(),
        cards: (await readCards(page)).map((card) => ({
            ...card, images: card.images.map((image) => ({ ...image, file: fileOf(image.url) })),
        })),
        links: await readLinks(page),
        injected: await page.evaluate(() => document.querySelectorAll('b, i, u, script, iframe').length),
    };
    await page.evaluate(() => window.scrollTo(0, 0));
    report.desktop = await readLayout(page);
    await page.screenshot({ path: screenshotPath });
    await page.setViewport(kPhone);
    report.phone = await readLayout(page);
    report.requests = requests;
    return report;
}

async function main() {
    const [pagePath, screenshotPath, chromium = '/usr/bin/chromium'] = process.argv.slice(2);
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zelvane-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: chromium,
        headless: true,
        userDataDir: profile,
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
               '--disable-sync', '--no-first-run'],
    });
    try {
        console.log(JSON.stringify(await browse(pagePath, screenshotPath, browser)));
    } finally {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
}

main().catch((error) => {
    console.error(`browse.mjs: ${error.stack ?? error}`);
    process.exit(2);
});
