// Bundles the page and the tests. The rules module must be built first
// (build-web/wasm). Usage: node web/build.mjs [OUT_DIR]  (default build-web)
import * as esbuild from 'esbuild';
import { marked } from 'marked';
import * as fs from 'node:fs';
import * as path from 'node:path';
import { fileURLToPath } from 'node:url';

const webDir = path.dirname(fileURLToPath(import.meta.url));
const out = path.resolve(process.argv[2] ?? path.join(webDir, '../build-web'));
const site = path.join(out, 'site');
fs.mkdirSync(site, { recursive: true });

for (const name of ['ostreltz-rules.js', 'ostreltz-rules.wasm']) {
  fs.copyFileSync(path.join(out, 'wasm', name), path.join(site, name));
}
fs.cpSync(path.join(webDir, 'static'), site, { recursive: true });

// The user guide in both languages, as the desktop's help window shows it:
// each a piece of HTML for the page's help window, with its pictures beside it.
const docs = path.join(webDir, '../docs');
const guideDir = path.join(site, 'guide');
fs.mkdirSync(guideDir, { recursive: true });
for (const name of ['guide', 'guide-en']) {
  const html = marked.parse(fs.readFileSync(path.join(docs, `${name}.md`), 'utf8'), { async: false });
  const pictures = [...html.matchAll(/<img src="([^"/]+)"/g)].map((m) => m[1]);
  for (const picture of pictures) fs.copyFileSync(path.join(docs, picture), path.join(guideDir, picture));
  fs.writeFileSync(path.join(guideDir, `${name}.html`), html.replace(/<img src="([^"/]+)"/g, '<img src="guide/$1"'));
}

// Every file of the site, for the service worker to keep for offline use.
const siteFiles = ['./', ...fs.readdirSync(site, { recursive: true }).map(String)
  .filter((name) => !fs.statSync(path.join(site, name)).isDirectory() && !name.endsWith('.map') && name !== 'sw.js'), 'main.js']
  .filter((name, i, all) => all.indexOf(name) === i);

await esbuild.build({
  entryPoints: [path.join(webDir, 'src/main.ts'), path.join(webDir, 'src/sw.ts')],
  define: { SITE_FILES: JSON.stringify(siteFiles) },
  outdir: site,
  bundle: true,
  format: 'iife',
  target: 'es2020',
  minify: true,
  sourcemap: true,
  logLevel: 'warning',
});

const tests = fs.readdirSync(path.join(webDir, 'test')).filter((f) => /\.(test|bench)\.ts$/.test(f) || f === 'stand-in.ts');
await esbuild.build({
  entryPoints: tests.map((f) => path.join(webDir, 'test', f)),
  outdir: path.join(out, 'test'),
  outExtension: { '.js': '.cjs' },
  bundle: true,
  platform: 'node',
  format: 'cjs',
  target: 'node20',
  external: ['puppeteer-core', 'ws'],
  logLevel: 'warning',
});
