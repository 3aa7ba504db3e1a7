// node sweep.mjs FOLDER
//
// Every .glb and .gltf file in FOLDER, in name order, through the Khronos
// validator and three.js's GLTFLoader in one process: one JSON line per
// file,
//
//   {"file": "m007.glb", "errors": 0, "warnings": 0, "infos": 0, "hints": 0,
//    "codes": ["ACCESSOR_..."], "records": [...], "error": null}
//
// where records are readback.mjs's lines and error says why three.js could
// not load the file.
import fs from 'node:fs';
import path from 'node:path';

import { readRecords } from './readback.mjs';
import { validateFile } from './validate.mjs';

async function sweepFile(file) {
    const report = await validateFile(file);
    const issues = report.issues;
    const line = {
        file: path.basename(file), errors: issues.numErrors, warnings: issues.numWarnings, infos: issues.numInfos,
        hints: issues.numHints, codes: issues.messages.map((message) => message.code), records: [], error: null,
    };
    try {
        line.records = await readRecords(file);
    } catch (error) {
        line.error = String(error?.stack ?? error);
    }
    return line;
}

async function main() {
    const folder = process.argv[2];
    const files = fs.readdirSync(folder).filter((name) => /\.(glb|gltf)$/.test(name)).sort();
    for (const name of files) {
        console.log(JSON.stringify(await sweepFile(path.join(folder, name))));
    }
}

main().catch((error) => {
    console.error(`sweep.mjs: ${error?.stack ?? error}`);
    process.exit(2);
});
