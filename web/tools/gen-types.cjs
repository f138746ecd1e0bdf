// Writes the TypeScript declarations of the rules' enums and value types, as
// the built module describes them, so the page never types them by hand.
// Usage: node web/tools/gen-types.cjs MODULE.js OUT.ts   (the .wasm beside MODULE.js)
const fs = require('node:fs');
const path = require('node:path');

// The module's enums that only exist as its own objects (the grid's key
// rules hand them out, and the page compares them by object): the names of
// their values.
function objectEnums(rules, catalogue) {
  const numbered = new Set(catalogue.enums.map((e) => e.name));
  return Object.keys(rules)
    .filter((name) => typeof rules[name] === 'function' && typeof rules[name].values === 'object' && !numbered.has(name))
    .sort()
    .map((name) => ({ name, values: Object.keys(rules[name]).filter((key) => key !== 'values') }));
}

function declarations(catalogue, enumObjects) {
  const lines = ['// Generated from the rules module by web/tools/gen-types.cjs at build time: do not edit.', ''];
  for (const e of catalogue.enums) {
    lines.push(`export const enum ${e.name} { ${e.values.map(([n, v]) => `${n} = ${v}`).join(', ')} }`);
  }
  for (const o of catalogue.objects) {
    lines.push(`export interface ${o.name} { ${o.fields.map(([n, t]) => `${n}: ${t};`).join(' ')} }`);
  }
  for (const e of enumObjects) {
    lines.push(`export type ${e.name}Name = ${e.values.map((n) => `'${n}'`).join(' | ')};`);
  }
  return lines.join('\n') + '\n';
}

async function generate(modulePath) {
  const factory = require(path.resolve(modulePath));
  const wasmBinary = fs.readFileSync(modulePath.replace(/\.js$/, '.wasm'));
  const rules = await factory({ wasmBinary });
  const catalogue = rules.typeCatalogue();
  return declarations(catalogue, objectEnums(rules, catalogue));
}

module.exports = { generate };

if (require.main === module) {
  const [modulePath, out] = process.argv.slice(2);
  generate(modulePath).then((text) => {
    fs.mkdirSync(path.dirname(out), { recursive: true });
    if (!fs.existsSync(out) || fs.readFileSync(out, 'utf8') !== text) fs.writeFileSync(out, text);
  });
}
