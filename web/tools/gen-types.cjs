// Writes the TypeScript declarations of the rules' enums and value types, as
// the built module describes them, so the page never types them by hand.
// Usage: node web/tools/gen-types.cjs MODULE.js OUT.ts   (the .wasm beside MODULE.js)
const fs = require('node:fs');
const path = require('node:path');

function declarations(catalogue) {
  const lines = ['// Generated from the rules module by web/tools/gen-types.cjs at build time: do not edit.', ''];
  for (const e of catalogue.enums) {
    lines.push(`export const enum ${e.name} { ${e.values.map(([n, v]) => `${n} = ${v}`).join(', ')} }`);
  }
  for (const o of catalogue.objects) {
    lines.push(`export interface ${o.name} { ${o.fields.map(([n, t]) => `${n}: ${t};`).join(' ')} }`);
  }
  return lines.join('\n') + '\n';
}

async function generate(modulePath) {
  const factory = require(path.resolve(modulePath));
  const wasmBinary = fs.readFileSync(modulePath.replace(/\.js$/, '.wasm'));
  const rules = await factory({ wasmBinary });
  return declarations(rules.typeCatalogue());
}

module.exports = { generate };

if (require.main === module) {
  const [modulePath, out] = process.argv.slice(2);
  generate(modulePath).then((text) => {
    fs.mkdirSync(path.dirname(out), { recursive: true });
    if (!fs.existsSync(out) || fs.readFileSync(out, 'utf8') !== text) fs.writeFileSync(out, text);
  });
}
