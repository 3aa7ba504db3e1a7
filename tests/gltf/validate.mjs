// node validate.mjs FILE [CODE...]
//
// Runs the Khronos glTF validator on a .glb or .gltf file, with the buffers
// and images a .gltf names read from beside it, and prints the counts of
// its report, then every message. Exits 1 when the report has any error,
// warning or info (hints are allowed) other than infos of the codes given,
// 2 when the file could not be validated at all. validateFile is for other
// scripts.
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import validator from 'gltf-validator';

import { readBeside } from './resources.mjs';

const kSeverities = ['error', 'warning', 'info', 'hint'];

// The validator's report of a .glb or .gltf file.
export async function validateFile(file) {
    return validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        maxIssues: 0,
        externalResourceFunction: async (uri) => new Uint8Array(readBeside(file, uri)),
    });
}

async function main() {
    const [file, ...allowedInfos] = process.argv.slice(2);
    const report = await validateFile(file);
    const issues = report.issues;
    console.log(`numErrors: ${issues.numErrors}`);
    console.log(`numWarnings: ${issues.numWarnings}`);
    console.log(`numInfos: ${issues.numInfos}`);
    console.log(`numHints: ${issues.numHints}`);
    console.log(`triangles: ${report.info?.totalTriangleCount ?? 0}`);
    console.log(`vertices: ${report.info?.totalVertexCount ?? 0}`);
    console.log(`materials: ${report.info?.materialCount ?? 0}`);
    for (const message of issues.messages) {
        console.log(`${kSeverities[message.severity]} ${message.code} ${message.pointer ?? ''}: ${message.message}`);
    }
    const allowed = issues.messages.filter(
        (message) => message.severity === 2 && allowedInfos.includes(message.code)).length;
    return issues.numErrors + issues.numWarnings + issues.numInfos - allowed > 0 ? 1 : 0;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    main().then((status) => process.exit(status), (error) => {
        console.error(`validate.mjs: ${error}`);
        process.exit(2);
    });
}
