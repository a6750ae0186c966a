// Renders every line of a UTF-8 file of LaTeX formulas with KaTeX and prints the lines it
// refuses, one per line ("line N: message"). Exit status: 0 when it accepts all, 1 when it
// refuses any, 2 when KaTeX or the file cannot be read.
//   node KatexCheck.js KATEX_JS FILE
'use strict';
const fs = require('fs');
let katex;
try {
    katex = require(process.argv[2]);
} catch (e) {
    console.error('cannot load KaTeX from ' + process.argv[2] + ': ' + e.message);
    process.exit(2);
}
let lines;
try {
    lines = fs.readFileSync(process.argv[3], 'utf8').split('\n');
} catch (e) {
    console.error('cannot read ' + process.argv[3] + ': ' + e.message);
    process.exit(2);
}
// Strict: LaTeX that only KaTeX would accept is refused. A character outside KaTeX's own fonts
// is drawn from a system font, which is no fault of the LaTeX.
const strict = (code) => (code === 'unknownSymbol' ? 'ignore' : 'error');
let refused = 0;
lines.forEach((line, k) => {
    if (line === '') return;
    try {
        katex.renderToString(line, {throwOnError: true, strict: strict, displayMode: true});
    } catch (e) {
        refused++;
        console.log('line ' + (k + 1) + ': ' + e.message);
    }
});
process.exit(refused ? 1 : 0);
