// The screenshot in the README: the page with a faulty point file, the fault
// in the unit column chosen. `node web/page/test/screenshot.mjs` refreshes
// doc/marlint-page.png; the browser test writes the same picture into
// build/web/ to show that it still can.
import { writeFile, mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, openPage, repositoryRoot } from './browser.mjs';

const SHOWN_FILE = [
  '2,3,False',
  'C,SpindleTemp1,SAMPLE,,500,CELSIUS,Path,,1,String,R,,100,',
  'C,FeedSpeed,SAMPLE,,800,MILLIMETRE / SECOND,Path,PMC path 2,6,String,R,G,59999,',
  'C,DoorOpen,EVENT,,800,,Device,PMC path 1,7,String,R,X,10,8',
  'C,MachineState,EVENT,RUNNING,1000,,Controler,,,,,,,',
  'C,OverheatAlarm,CONDITION,1000 1001 3500,1000,,Path,,,,,,,',
  'D,ReadMode_1,,,,,,,,,,,,',
  'C,SpindleTemp1,SAMPLE,,500,CELSIUS,Path2,CNC path 3,3,String,R,,12,',
  '',
].join('\n');

export async function takeScreenshot(browser, outputPath, colorScheme = 'light') {
  const folder = await mkdtemp(path.join(os.tmpdir(), 'marlint-page-'));
  try {
    const file = path.join(folder, 'Point.csv');
    await writeFile(file, SHOWN_FILE);
    const { context, page } = await openPage(browser, { colorScheme, viewport: { width: 1280, height: 800 } });
    await page.setInputFiles('input[type=file]', file);
    await page.waitForSelector('[data-testid=fault]');
    await page.click('[data-testid=fault][data-rule=unit-name]');
    await page.screenshot({ path: outputPath, fullPage: true });
    await context.close();
  } finally {
    await rm(folder, { recursive: true, force: true });
  }
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const browser = await launchBrowser();
  try {
    const output = process.argv[2] || path.join(repositoryRoot, 'doc/marlint-page.png');
    await takeScreenshot(browser, output);
    console.log(output);
  } finally {
    await browser.close();
  }
}
