// How fast the page of `mesra serve` answers the mouse, in Debian's Chromium: on generated
// drawings of 1,000 and 10,000 paths, with the Segment tool, 200 mouse moves over the view,
// each measured from the browser's event to the next frame drawn with its answer, and the
// part of it the server took (the request's round trip). Prints p50 and p95 of each; it
// reports and never fails on a figure (run by hand, or by CI as a report).
//
//   node bench/browser/serve.bench.mjs MESRA SOURCE_DIR
//
// Exits 0 once it has measured, 1 when the page could not be driven, 77 (skipped) without
// Chromium or Playwright.
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { generated, launch, openPage, scratchFolder, serve, settle } from
  "../../tests/app/browser/page.mjs";

const [mesra] = process.argv.slice(2);
const moves = 200;
const browser = await launch();
const { folder, remove } = scratchFolder();

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * (sorted.length - 1)))];
}
const ms = value => `${value.toFixed(1)} ms`;

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
    const timings = await page.evaluate(() => window.mesraTimings);
    const total = timings.map(t => t.total).sort((p, q) => p - q);
    const server = timings.map(t => t.server).sort((p, q) => p - q);
    console.log(`${String(paths).padEnd(7)} | ${ms(percentile(total, 0.5))}, ` +
                `${ms(percentile(total, 0.95))} | ${ms(percentile(server, 0.5))}, ` +
                `${ms(percentile(server, 0.95))}   (${timings.length} moves)`);
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
