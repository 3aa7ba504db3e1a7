// The files a glTF document refers to, found beside it. A URI is decoded
// byte by byte, so that a file name that is not UTF-8 is found too.
import fs from 'node:fs';
import path from 'node:path';

export function decodeUriBytes(uri) {
    const bytes = [];
    for (let i = 0; i < uri.length; ++i) {
        if (uri[i] === '%' && /^[0-9A-Fa-f]{2}$/.test(uri.slice(i + 1, i + 3))) {
            bytes.push(parseInt(uri.slice(i + 1, i + 3), 16));
            i += 2;
        } else {
            bytes.push(...Buffer.from(uri[i], 'utf8'));
        }
    }
    return Buffer.from(bytes);
}

// The bytes of the file that uri names, relative to the document at documentPath.
export function readBeside(documentPath, uri) {
    const folder = Buffer.from(path.dirname(path.resolve(documentPath)) + path.sep, 'utf8');
    return fs.readFileSync(Buffer.concat([folder, decodeUriBytes(uri)]));
}
