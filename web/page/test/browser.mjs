// Opens marlint.html from disk in headless Chromium, for the browser test and
// the screenshot in the README.
import { chromium } from 'playwright-core';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const repositoryRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const pagePath = process.env.MARLINT_PAGE || path.join(repositoryRoot, 'build/web/marlint.html');

// Debian's chromium by default; CHROMIUM_PATH names another build.
export async function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM_PATH || '/usr/bin/chromium',
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
    ],
  });
}

// A fresh page with marlint.html loaded; every request other than the page
// itself, a data: or a blob: URL fails the test, so the page provably works
// offline. Errors in the page's scripts are collected in `errors`.
export async function openPage(browser, options = {}) {
  const context = await browser.newContext({
    acceptDownloads: true,
    colorScheme: options.colorScheme || 'light',
    viewport: options.viewport || { width: 1400, height: 900 },
  });
  const page = await context.newPage();
  const errors = [];
  const pageUrl = options.url || pathToFileURL(pagePath).href;
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (message) => {
    if (message.type() === 'error') {
      errors.push(message.text());
    }
  });
  page.on('request', (request) => {
    const url = request.url();
    if (url !== pageUrl && !url.startsWith('data:') && !url.startsWith('blob:')) {
      errors.push(`network request: ${url}`);
    }
  });
  await page.goto(pageUrl);
  return { context, page, errors };
}
