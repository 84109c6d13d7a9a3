// How fast the page of `mesra serve` answers the mouse, in Debian's Chromium: on generated
// drawings of 1,000 and 10,000 paths, with the Segment tool, 200 mouse moves over the view,
// each measured from the browser's event to the next frame drawn with its answer, and the
// part of it the server took (the request's round trip); then 6 drags of 20 steps that each
// make a dimension: each step to the frame that draws it, the fetches of the document
// between press and release, and the time from the release to the frame that shows the new
// picture of the document. Prints p50 and p95 of each; it reports and never fails on a
// figure (run by hand, or by CI as a report).
//
//   node bench/browser/serve.bench.mjs MESRA SOURCE_DIR
//
// Exits 0 once it has measured, 1 when the page could not be driven, 77 (skipped) without
// Chromium or Playwright.
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { generated, launch, openPage, scratchFolder, screenPoint, serve, settle } from
  "../../tests/app/browser/page.mjs";

const [mesra] = process.argv.slice(2);
const moves = 200;
const browser = await launch();
const { folder, remove } = scratchFolder();

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * (sorted.length - 1)))];
}
const ms = value => `${value.toFixed(1)} ms`;
const drags = 6, dragSteps = 20;
const spread = values => {
  const sorted = [...values].sort((p, q) => p - q);
  return `${ms(percentile(sorted, 0.5))}, ${ms(percentile(sorted, 0.95))}`;
};

// Drags that each make a dimension of a line of the generated drawing (the lines run from
// (x, y) to (x + 30, y + 20), every third path of the first row): its first anchor clicked,
// its second pressed, dragged 20 steps and released. Returns the fetches of the document
// seen between the presses and the releases, and the page's timings.
async function measureDrags(page, paths) {
  const side = Math.ceil(Math.sqrt(paths));
  let fetchesWhilePressed = 0, pressed = false;
  const count = request => { if (pressed && request.url().includes("/document.svg")) ++fetchesWhilePressed; };
  page.on("request", count);
  await page.evaluate(() => { window.mesraTimings = []; });
  for (let n = 0; n < drags; ++n) {
    const i = 3 * n;
    const x = (i % side) * 40 + 5, y = Math.floor(i / side) * 40 + 5;
    const a = await screenPoint(page, x, y), b = await screenPoint(page, x + 30, y + 20);
    await page.mouse.move(a.x, a.y); await settle(page);
    await page.mouse.down(); await page.mouse.up(); await settle(page);
    await page.mouse.move(b.x, b.y); await settle(page);
    await page.waitForFunction(() => window.mesraPictureShown());
    pressed = true;
    await page.mouse.down(); await settle(page);
    for (let step = 1; step <= dragSteps; ++step) {
      await page.mouse.move(b.x + step, b.y + 2 * step);
      await settle(page);
    }
    // The release's own answer brings the picture: what is fetched from here on is after.
    pressed = false;
    await page.mouse.up();
    await settle(page);
    await page.waitForFunction(() => window.mesraPictureShown());
  }
  page.off("request", count);
  return { fetchesWhilePressed, timings: await page.evaluate(() => window.mesraTimings) };
}

let status = 0;
const servers = [];
try {
  console.log("paths   | move to painted frame: p50, p95 | server's part: p50, p95");
  for (const paths of [1000, 10000]) {
    const file = join(folder, `generated-${paths}.svg`);
    writeFileSync(file, generated(paths));
    const run = await serve(mesra, file, join(folder, "plugins"));
    servers.push(run.server);
    const { page } = await openPage(browser, run.address);
    if (await page.locator("#alert[open]").count()) await page.click("#alert button");
    await page.click('#tools button[aria-label="Outil Segment"]');
    await settle(page);
    await page.evaluate(() => { window.mesraTimings = []; });
    const box = await page.locator("#view").boundingBox();
    for (let i = 0; i < moves; ++i) {
      await page.mouse.move(box.x + 50 + (i * 37) % (box.width - 100),
                            box.y + 50 + (i * 53) % (box.height - 100));
      await settle(page);
    }
    await page.waitForFunction(n => window.mesraTimings.length >= n, moves);
    const timings = (await page.evaluate(() => window.mesraTimings)).filter(t => t.kind === "move");
    const total = timings.map(t => t.total).sort((p, q) => p - q);
    const server = timings.map(t => t.server).sort((p, q) => p - q);
    console.log(`${String(paths).padEnd(7)} | ${ms(percentile(total, 0.5))}, ` +
                `${ms(percentile(total, 0.95))} | ${ms(percentile(server, 0.5))}, ` +
                `${ms(percentile(server, 0.95))}   (${timings.length} moves)`);
    const dragged = await measureDrags(page, paths);
    const of = kind => dragged.timings.filter(t => t.kind === kind);
    console.log(`        | drag step to painted frame: ${spread(of("drag").map(t => t.total))} ` +
                `(server's part ${spread(of("drag").map(t => t.server))}, ${of("drag").length} ` +
                `steps); ${dragged.fetchesWhilePressed} document fetches between press and ` +
                `release; release to the new picture: ${spread(of("picture").map(t => t.total))} ` +
                `(${of("picture").length} releases)`);
    await page.close();
    run.server.kill("SIGTERM");
  }
} catch (error) {
  console.log(`the page could not be measured: ${error.stack || error}`);
  status = 1;
} finally {
  await browser.close();
  for (const server of servers) server.kill("SIGTERM");
  remove();
}
process.exit(status);
