// node readback.mjs FILE
//
// Loads a .glb or .gltf file with three.js's GLTFLoader, as an application
// would, and prints what it finds as JSON lines:
//
//   {"image": 0, "file": "brick.png", "mimeType": "image/png", "bytes": "89504e47..."}
//   {"corners": [[px, py, pz, nx, ny, nz, u, v], ...], "colour": [r, g, b, a],
//    "colourChannel4": c, "metalness": m, "roughness": r, "image": 0, "material": "name"}
//
// one line per image (its file: the decoded URI of a .gltf's image, the name
// of an embedded one), then one per triangle of every mesh in the scene, in
// the order of the meshes and their index data. u and v are null where the
// mesh has no texture coordinates, image is null for a material without a
// texture. Exits 2 when the file cannot be loaded. readRecords is for other
// scripts.
//
// Node.js has no image decoder: a stand-in texture loader takes each image
// without decoding it, and the image a material shows is found through the
// loader's record of which glTF texture each three.js texture came from.
import fs from 'node:fs';
import { pathToFileURL } from 'node:url';
import { Texture } from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

import { decodeUriBytes, readBeside } from './resources.mjs';

// What the loaders expect of a browser: URL on self, and progress events.
globalThis.self ??= globalThis;
globalThis.ProgressEvent ??= class extends Event {
    constructor(type, init = {}) {
        super(type);
        Object.assign(this, init);
    }
};

const kUndecodedImages = {
    load(url, onLoad) {
        onLoad(new Texture());
    },
};

function parseGltf(file) {
    const loader = new GLTFLoader();
    loader.manager.setURLModifier((url) =>
        url.startsWith('data:') || url.startsWith('blob:')
            ? url
            : 'data:application/octet-stream;base64,' + readBeside(file, url).toString('base64'));
    let parser = null;
    loader.register((gltfParser) => {
        parser = gltfParser;
        gltfParser.textureLoader = kUndecodedImages;
        return { name: 'zelvane_undecoded_images' };
    });
    const bytes = fs.readFileSync(file);
    const data = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
    return new Promise((resolve, reject) => loader.parse(data, '', (gltf) => resolve({ gltf, parser }), reject));
}

async function imageRecord(file, parser, index) {
    const image = parser.json.images[index];
    const bytes = image.bufferView !== undefined
        ? Buffer.from(await parser.getDependency('bufferView', image.bufferView))
        : readBeside(file, image.uri);
    const fileName = image.uri !== undefined ? decodeUriBytes(image.uri).toString('utf8') : image.name;
    return { image: index, file: fileName, mimeType: image.mimeType, bytes: bytes.toString('hex') };
}

function imageOf(parser, material) {
    if (!material.map) {
        return null;
    }
    const texture = parser.associations.get(material.map)?.textures;
    return texture === undefined ? null : parser.json.textures[texture].source;
}

function cornerOf(geometry, vertex) {
    const position = geometry.getAttribute('position');
    const normal = geometry.getAttribute('normal');
    const uv = geometry.getAttribute('uv');
    return [position.getX(vertex), position.getY(vertex), position.getZ(vertex),
        normal.getX(vertex), normal.getY(vertex), normal.getZ(vertex),
        uv ? uv.getX(vertex) : null, uv ? uv.getY(vertex) : null];
}

function triangleLines(mesh, parser) {
    const geometry = mesh.geometry;
    const material = mesh.material;
    const colour = [material.color.r, material.color.g, material.color.b, material.opacity];
    const common = {
        colour, colourChannel4: material.userData.colourChannel4 ?? null, metalness: material.metalness,
        roughness: material.roughness, image: imageOf(parser, material), material: material.name,
    };
    const index = geometry.index;
    const count = index ? index.count : geometry.getAttribute('position').count;
    const lines = [];
    for (let k = 0; k + 2 < count; k += 3) {
        const corners = [0, 1, 2].map((c) => cornerOf(geometry, index ? index.getX(k + c) : k + c));
        lines.push({ corners, ...common });
    }
    return lines;
}

// What the file holds as the records above: the images, then the triangles.
export async function readRecords(file) {
    const { gltf, parser } = await parseGltf(file);
    const records = [];
    for (let image = 0; image < (parser.json.images ?? []).length; ++image) {
        records.push(await imageRecord(file, parser, image));
    }
    gltf.scene.traverse((object) => {
        if (object.isMesh) {
            records.push(...triangleLines(object, parser));
        }
    });
    return records;
}

async function main() {
    for (const record of await readRecords(process.argv[2])) {
        console.log(JSON.stringify(record));
    }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    main().catch((error) => {
        console.error(`readback.mjs: ${error?.stack ?? error}`);
        process.exit(2);
    });
}
