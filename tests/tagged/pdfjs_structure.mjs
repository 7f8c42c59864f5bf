// Prints what a browser's PDF viewer (pdf.js) exposes of a PDF to assistive
// technology: the document's title and language, each page's structure tree
// (roles, alternate texts, languages), the text of each piece of marked
// content the tree points at, and the page's annotations (form fields with
// their names, values and whether they can be filled).
// usage: PDFJS_PREFIX=FOLDER node pdfjs_structure.mjs PDF [PASSWORD], FOLDER holding
// node_modules/pdfjs-dist.
import { createRequire } from "node:module";
import path from "node:path";

const require = createRequire(path.join(process.env.PDFJS_PREFIX, "node_modules", "x.js"));
const { getDocument } = await import(require.resolve("pdfjs-dist/legacy/build/pdf.mjs"));
const document = await getDocument({ url: process.argv[2], password: process.argv[3] || undefined,
                                     verbosity: 0 }).promise;
const pages = [];
for (let i = 1; i <= document.numPages; ++i) {
  const page = await document.getPage(i);
  const annotations = (await page.getAnnotations()).map((a) => ({
    subtype: a.subtype, fieldType: a.fieldType, fieldName: a.fieldName,
    fieldValue: a.fieldValue, readOnly: a.readOnly, url: a.url }));
  // The text inside each marked-content sequence, by the id the tree's
  // content nodes carry.
  const texts = {};
  const open = [];
  for (const item of (await page.getTextContent({ includeMarkedContent: true })).items) {
    if (item.type === "beginMarkedContentProps" || item.type === "beginMarkedContent") {
      open.push(item.id);
    } else if (item.type === "endMarkedContent") {
      open.pop();
    } else if (open.length && open[open.length - 1]) {
      const id = open[open.length - 1];
      texts[id] = (texts[id] || "") + item.str + (item.hasEOL ? " " : "");
    }
  }
  pages.push({ tree: await page.getStructTree(), texts, annotations });
}
const meta = await document.getMetadata();
console.log(JSON.stringify({ title: meta.info.Title, language: meta.info.Language,
                             displayTitle: !!(await document.getViewerPreferences())?.DisplayDocTitle,
                             pages }));
