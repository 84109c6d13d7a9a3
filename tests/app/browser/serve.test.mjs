// The page of `mesra serve` in Debian's Chromium, driven by Playwright as a person uses it:
// the status line that says to choose a measuring tool, the Segment tool on the bundled
// drawing (two anchors clicked, a drag that places the dimension with no fetch of the
// document until the release and one after it, its text in the page's drawing and in the
// downloaded file), an Alt-click that opens the settings panel and a click that changes the
// unit, Ctrl+Z and Ctrl+Shift+Z on the last dimension (in the page and in the downloaded
// file), the colour dialog that the panel's colour button opens (Cancel changes nothing, OK
// colours the next dimension's lines), and an upload that is no SVG, refused in French.
// Every check
// waits for the state it expects, so that a busy machine makes the test slower, never
// wrong; how fast the page answers is the benchmark's business (bench/browser).
//
//   node serve.test.mjs MESRA SOURCE_DIR
//
// With MESRA_SCREENSHOT=FILE.png it also takes the picture of the page the README shows.
// Exits 0 when every road holds, 1 with what failed, 77 (skipped) without Chromium or
// Playwright.
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { launch, openPage, patience, scratchFolder, screenPoint, serve, settle } from "./page.mjs";

const [mesra, source] = process.argv.slice(2);
const browser = await launch();
const { folder, remove } = scratchFolder();
const failures = [];
function check(condition, what) {
  if (!condition) failures.push(what);
  console.log(`${condition ? "ok" : "FAILED"}: ${what}`);
}
// Checks that the page comes to hold `condition` (a function run in the page with `arg`).
async function checkSoon(page, what, condition, arg) {
  let held = true;
  try {
    await page.waitForFunction(condition, arg, { timeout: patience });
  } catch {
    held = false;
  }
  check(held, what);
}
// Checks that a locator comes to find something.
async function checkFound(locator, what) {
  let found = true;
  try {
    await locator.first().waitFor({ timeout: patience });
  } catch {
    found = false;
  }
  check(found, what);
  return found;
}
const statusSays = text => document.getElementById("status").textContent.includes(text);
// The document as the download link gives it.
async function downloaded(page) {
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#download")]);
  return readFileSync(await download.path(), "utf8");
}
// The document the page shows now.
const shownDocument = page => page.evaluate(async () =>
  (await fetch(document.getElementById("doc").getAttribute("href"))).text());
// A panel text (its first match) clicked in its middle; false when the panel has none.
async function clickPanelText(page, text, what) {
  const found = page.locator("#annotation text", { hasText: text });
  if (!await checkFound(found, what)) return false;
  const box = await found.first().boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await settle(page);
  return true;
}
const mmDimension = />[\d ,]+ mm</;

// Ctrl+Z takes the last dimension away from the page and from the file, Ctrl+Shift+Z brings it
// back, and the buttons follow.
async function undoRoad(page) {
  const buttons = ([undo, redo]) => document.getElementById("undo").disabled === !undo &&
                                    document.getElementById("redo").disabled === !redo;
  await checkSoon(page, "with dimensions made, Annuler is on and Rétablir dimmed", buttons,
                  [true, false]);
  await page.keyboard.press("Control+z");
  await settle(page);
  await checkSoon(page, "after Ctrl+Z, both buttons are on", buttons, [true, true]);
  const shown = await shownDocument(page), file = await downloaded(page);
  check(!mmDimension.test(shown) && shown.includes("226,8"),
        "Ctrl+Z takes the last dimension out of the page's drawing, the one before stays");
  check(!mmDimension.test(file) && file.includes("226,8"), "and out of the downloaded file");
  await page.keyboard.press("Control+Shift+Z");
  await settle(page);
  check(mmDimension.test(await shownDocument(page)) && mmDimension.test(await downloaded(page)),
        "Ctrl+Shift+Z brings it back in the page and the file");
}

// The colour dialog: Cancel leaves the line colour as it was, OK gives the next dimension's
// lines the colour chosen (RGB 0, 255, 0: "#00ff00", in no bundled drawing and
// in no default colour).
async function colourRoad(page) {
  const empty = await screenPoint(page, 4, 4);
  await page.mouse.move(empty.x, empty.y);
  await page.keyboard.down("Alt");
  await page.mouse.down(); await page.mouse.up();
  await page.keyboard.up("Alt");
  await settle(page);
  if (!await clickPanelText(page, "Couleurs.", "the panel lists the colours page")) return;
  if (!await clickPanelText(page, "Couleur des traits.", "the colours page has its line button")) return;
  const dialog = page.locator("#colorDialog[open]");
  await checkFound(dialog, "the line colour button opens the colour dialog");
  // The plug-in's default line colour is RGB red.
  const preset = async () => [await page.inputValue("#colorModel"), await page.inputValue("#colorRed"),
                              await page.inputValue("#colorGreen"), await page.inputValue("#colorBlue")];
  check((await preset()).join() === "rgb,255,0,0",
        "the dialog is preset to the current line colour, the default red");
  await page.selectOption("#colorModel", "rgb");
  await page.fill("#colorGreen", "128");
  await page.fill("#colorBlue", "255");
  await page.click("#colorCancel");
  await settle(page);
  check(await dialog.count() === 0, "Cancel closes the dialog");
  if (!await clickPanelText(page, "Couleur des traits.", "the line button is still there")) return;
  await checkFound(dialog, "the dialog opens again");
  check((await preset()).join() === "rgb,255,0,0", "after Cancel the line colour is still red");
  check(await page.locator("#colorDialog fieldset:not([hidden]) legend").allTextContents()
          .then(t => t.join("|") === "RVB (0 à 255)"), "the RGB model shows its three fields");
  await page.selectOption("#colorModel", "spot");
  check(await page.locator("#colorDialog fieldset:not([hidden]) legend").allTextContents()
          .then(t => t.join("|") === "Ton direct|CMJN (%)"),
        "a spot colour is given a name and CMYK values");
  await page.selectOption("#colorModel", "rgb");
  await page.fill("#colorRed", "0");
  await page.fill("#colorGreen", "255");
  await page.fill("#colorBlue", "0");
  await page.click("#colorOk");
  await settle(page);
  const dialogs = await dialog.count(), before = await shownDocument(page);
  check(dialogs === 0 && !before.includes("#00ff00"),
        `OK closes the dialog (${dialogs} open); the colour changes no dimension made before`);
  const panel = await page.locator("#annotation rect").first().boundingBox();
  if (panel) {
    await page.mouse.click(panel.x + panel.width + 20, panel.y + panel.height + 20);
    await settle(page);
  }
  // A new dimension of the plate's top side, from (20, 30) to (100, 30), placed below it.
  const e = await screenPoint(page, 20, 30), f = await screenPoint(page, 100, 30);
  await page.mouse.move(e.x, e.y); await page.mouse.down(); await page.mouse.up();
  await page.mouse.move(f.x, f.y); await page.mouse.down();
  await page.mouse.move(f.x - 40, f.y + 40, { steps: 3 }); await page.mouse.up();
  await settle(page);
  check((await downloaded(page)).includes("#00ff00"),
        "the line colour chosen in the dialog reaches the next dimension");
}

const servers = [];
try {
  // The bundled drawing: the plate's top side runs from (20, 30) to (100, 30) millimetres.
  const { server, address } = await serve(mesra, join(source, "examples", "drawing.svg"),
                                          join(folder, "plugins"));
  servers.push(server);
  const { page, errors } = await openPage(browser, address);
  // The first start of the plug-in says it made its preferences file: a dialog to close.
  if (await page.locator("#alert[open]").count()) await page.click("#alert button");

  // The host starts with its own selection tool: the status line says what to do first.
  await checkSoon(page, "before a tool is chosen, the status line says to choose a measuring tool",
                  statusSays, "choisissez un outil de mesure");
  check(await page.locator("#tools button.on").count() === 0, "no measuring tool is chosen yet");
  await page.keyboard.press("Control+z");
  await settle(page);
  await checkSoon(page, "Ctrl+Z in a drawing just opened says there is nothing to take back",
                  () => document.getElementById("status").textContent.startsWith("Rien à annuler") &&
                        document.getElementById("undo").disabled);

  await page.click('#tools button[aria-label="Outil Segment"]');
  await settle(page);
  await checkSoon(page, "the Segment tool is chosen in the toolbar and named in the status line",
                  () => document.querySelector('#tools button.on[aria-label="Outil Segment"]') &&
                        document.getElementById("status").textContent.startsWith("Outil Segment"));
  const a = await screenPoint(page, 20, 30), b = await screenPoint(page, 100, 30);
  await page.mouse.move(a.x, a.y);
  await settle(page);
  await checkSoon(page, "the cursor follows the plug-in's",
                  () => /image\/200\d\d\.png/.test(document.getElementById("view").style.cursor));
  await page.mouse.down(); await page.mouse.up();
  await page.mouse.move(b.x, b.y);
  await settle(page);
  await page.waitForFunction(() => window.mesraPictureShown());
  // While the drag places the dimension only its own art travels; the document's picture
  // comes once, after the release.
  const fetches = [];
  const count = request => { if (request.url().includes("/document.svg")) fetches.push(request.url()); };
  page.on("request", count);
  await page.mouse.down();
  await page.mouse.move(b.x - 40, b.y - 12, { steps: 5 });
  await settle(page);
  await checkFound(page.locator("#live text", { hasText: "226,8" }),
                   "while the drag goes on, the page draws the dimension it places");
  check(fetches.length === 0, `no fetch of the document between the press and the release (${fetches.length})`);
  await page.mouse.up();
  await settle(page);
  await checkSoon(page, "after the release the picture shows the document, the drawn art gone",
                  () => window.mesraPictureShown() && !document.querySelector("#live *"));
  page.off("request", count);
  check(fetches.length === 1, `the document is fetched once after the release (${fetches.length})`);
  const shown = await page.evaluate(async () =>
    (await fetch(document.getElementById("doc").getAttribute("href"))).text());
  check(shown.includes("226,8"), "the dimension's text is in the page's drawing");
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#download")]);
  const saved = readFileSync(await download.path(), "utf8");
  check(saved.includes("226,8") && download.suggestedFilename() === "drawing-cotes.svg",
        `the downloaded file holds it (${download.suggestedFilename()})`);

  // The README's picture: the cursor over the bracket's slanted side, its tip beside it.
  if (process.env.MESRA_SCREENSHOT) {
    const side = await screenPoint(page, 185, 50);
    await page.mouse.move(side.x, side.y);
    await settle(page);
    await page.screenshot({ path: process.env.MESRA_SCREENSHOT });
  }

  // Alt-click in an empty place: the settings panel opens there; "Unité." then "Millimètres".
  const empty = await screenPoint(page, 4, 4);
  await page.mouse.move(empty.x, empty.y);
  await page.keyboard.down("Alt");
  await page.mouse.down(); await page.mouse.up();
  await page.keyboard.up("Alt");
  await settle(page);
  const unitEntry = page.locator("#annotation text", { hasText: "Unité." });
  if (await checkFound(unitEntry, "Alt-click opens the settings panel")) {
    const box = await unitEntry.first().boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await settle(page);
    const mm = page.locator("#annotation text", { hasText: "Millimètres" });
    if (await checkFound(mm, "the unit page lists the units")) {
      const m = await mm.first().boundingBox();
      await page.mouse.click(m.x + m.width / 2, m.y + m.height / 2);
      await settle(page);
    }
    // The panel closed by a click beside it, a new dimension is in millimetres.
    if (await page.locator("#annotation rect").count()) {
      const panel = await page.locator("#annotation rect").first().boundingBox();
      await page.mouse.click(panel.x + panel.width + 20, panel.y + panel.height + 20);
      await settle(page);
    }
    const c = await screenPoint(page, 20, 80), d = await screenPoint(page, 20, 30);
    await page.mouse.move(c.x, c.y); await page.mouse.down(); await page.mouse.up();
    await page.mouse.move(d.x, d.y); await page.mouse.down();
    await page.mouse.move(d.x - 30, d.y + 20, { steps: 3 }); await page.mouse.up();
    await settle(page);
    const after = await page.evaluate(async () =>
      (await fetch(document.getElementById("doc").getAttribute("href"))).text());
    check(/>[\d ,]+ mm</.test(after), "a click on the panel changed the unit to millimetres");
  }

  await undoRoad(page);
  await colourRoad(page);

  // An upload that is no drawing: a dialog that says why, in French.
  await settle(page);
  await page.setInputFiles("#file", { name: "notes.svg", mimeType: "image/svg+xml",
                                      buffer: Buffer.from("ceci n'est pas un dessin") });
  await page.locator("#alert[open]").waitFor();
  const said = (await page.textContent("#alertText")).trim();
  check(said === "Ce fichier n'est pas un dessin SVG lisible : ce n'est ni du texte XML ni " +
                 "un SVG compressé par gzip.", `a bad upload is refused in French (${said})`);
  check(errors.length === 0, `no error in the page (${errors.join("; ")})`);
  await page.close();
} catch (error) {
  failures.push(String(error.stack || error));
  console.log(`FAILED: ${error.stack || error}`);
} finally {
  await browser.close();
  for (const server of servers) server.kill("SIGTERM");
  remove();
}
process.exit(failures.length ? 1 : 0);
