// What the browser test and the browser benchmark share: Chromium through Playwright,
// `mesra serve` started on a drawing, generated drawings, and ways to wait for the page.
import { spawn } from "node:child_process";
import { existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

// How long a wait for the page's state may take on a machine busy with other work.
export const patience = 60_000;

// Chromium, launched headless; exits 77 (skipped) when it or Playwright is missing.
export async function launch() {
  const chromium = process.env.CHROMIUM || "/usr/bin/chromium";
  let playwright;
  try {
    playwright = await import("playwright-core");
  } catch {
    console.log("playwright-core is not installed (scripts/install-dependencies.sh): skipped");
    process.exit(77);
  }
  if (!existsSync(chromium)) {
    console.log(`no Chromium at ${chromium}: skipped`);
    process.exit(77);
  }
  return playwright.chromium.launch({ executablePath: chromium, headless: true,
                                      args: ["--no-sandbox"] });
}

// A folder of its own for the run (the plug-ins folder, generated drawings).
export function scratchFolder() {
  const folder = mkdtempSync(join(tmpdir(), "mesra-browser-"));
  return { folder, remove: () => rmSync(folder, { recursive: true, force: true }) };
}

// `mesra serve` on a drawing; resolves to the server and its address.
export function serve(mesra, drawing, plugins) {
  return new Promise((resolve, reject) => {
    const server = spawn(mesra, ["serve", "--doc", drawing, "--port", "0", "--plugins", plugins],
                         { stdio: ["ignore", "pipe", "pipe"] });
    let printed = "";
    server.stdout.on("data", data => {
      printed += data;
      const address = printed.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (address) resolve({ server, address: address[0] });
    });
    server.stderr.on("data", data => process.stderr.write(data));
    server.on("exit", code => reject(new Error(`mesra serve ended with ${code}: ${printed}`)));
  });
}

// A generated drawing: a grid of lines, waves and circles.
export function generated(paths) {
  const side = Math.ceil(Math.sqrt(paths));
  let svg = `<svg xmlns="http://www.w3.org/2000/svg" width="${side * 40}" height="${side * 40}">\n`;
  for (let i = 0; i < paths; ++i) {
    const x = (i % side) * 40 + 5, y = Math.floor(i / side) * 40 + 5;
    if (i % 3 === 0) svg += `<line x1="${x}" y1="${y}" x2="${x + 30}" y2="${y + 20}" stroke="black"/>\n`;
    else if (i % 3 === 1) svg += `<path d="M ${x},${y + 15} c 10,-15 20,15 30,0" fill="none" stroke="black"/>\n`;
    else svg += `<circle cx="${x + 15}" cy="${y + 15}" r="12" fill="none" stroke="black"/>\n`;
  }
  return svg + "</svg>\n";
}

// The page at `address`, once it shows its document and tools and has no request waiting.
export async function openPage(browser, address) {
  const page = await browser.newPage({ viewport: { width: 1200, height: 900 }, acceptDownloads: true });
  page.setDefaultTimeout(patience);
  const errors = [];
  page.on("pageerror", error => errors.push(String(error)));
  await page.goto(address);
  await page.waitForFunction(() => window.mesraReady && !window.mesraBusy());
  return { page, errors };
}

// Where the page's view shows a point of the drawing, in the page's pixels.
export async function screenPoint(page, x, y) {
  const box = await page.locator("#view").boundingBox();
  const p = await page.evaluate(([px, py]) => window.mesraViewPoint(px, py), [x, y]);
  return { x: box.x + p.x, y: box.y + p.y };
}

// Waits for the server's answers, then closes the alert they opened, if any (its text).
export async function settle(page) {
  await page.waitForFunction(() => !window.mesraBusy());
  if (await page.locator("#alert[open]").count()) {
    const text = await page.textContent("#alertText");
    await page.click("#alert button");
    return text;
  }
  return "";
}
