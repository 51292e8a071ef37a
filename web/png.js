// Reads a PNG (8 bits a channel, grey, RGB or RGBA, not interlaced) into RGBA pixels, and
// compares two pictures; enough for the game's screenshots and the browser's.
'use strict';
const zlib = require('zlib');

function decodePng(buffer) {
  const signature = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);
  if (buffer.length < 8 || !buffer.subarray(0, 8).equals(signature)) throw new Error('not a PNG');
  let pos = 8;
  let width = 0, height = 0, colorType = 0, depth = 0, interlace = 0;
  const idat = [];
  while (pos + 8 <= buffer.length) {
    const length = buffer.readUInt32BE(pos);
    const type = buffer.toString('latin1', pos + 4, pos + 8);
    if (pos + 12 + length > buffer.length) throw new Error('truncated PNG');
    const data = buffer.subarray(pos + 8, pos + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      depth = data[8];
      colorType = data[9];
      interlace = data[12];
    } else if (type === 'IDAT') {
      idat.push(data);
    } else if (type === 'IEND') {
      break;
    }
    pos += 12 + length;
  }
  const channels = {0: 1, 2: 3, 6: 4}[colorType];
  if (depth !== 8 || !channels || interlace !== 0 || width === 0 || height === 0) {
    throw new Error(`unsupported PNG (depth ${depth}, colour type ${colorType})`);
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  if (raw.length < (stride + 1) * height) throw new Error('short PNG data');
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = y * stride;
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? rows[out + i - channels] : 0;
      const b = y > 0 ? rows[out - stride + i] : 0;
      const c = y > 0 && i >= channels ? rows[out - stride + i - channels] : 0;
      let v = line[i];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      } else if (filter !== 0) {
        throw new Error('bad PNG filter');
      }
      rows[out + i] = v & 255;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; i++) {
    const s = i * channels;
    rgba[i * 4] = rows[s];
    rgba[i * 4 + 1] = rows[s + (channels >= 3 ? 1 : 0)];
    rgba[i * 4 + 2] = rows[s + (channels >= 3 ? 2 : 0)];
    rgba[i * 4 + 3] = channels === 4 ? rows[s + 3] : 255;
  }
  return {width, height, rgba};
}

// The mean absolute difference per colour channel, and the share of pixels that differ by
// more than 48 in some channel, of two pictures of one size.
function compare(a, b) {
  if (a.width !== b.width || a.height !== b.height) {
    throw new Error(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
  }
  let sum = 0, differing = 0;
  const n = a.width * a.height;
  for (let i = 0; i < n; i++) {
    let worst = 0;
    for (let c = 0; c < 3; c++) {
      const d = Math.abs(a.rgba[i * 4 + c] - b.rgba[i * 4 + c]);
      sum += d;
      if (d > worst) worst = d;
    }
    if (worst > 48) differing++;
  }
  return {mean: sum / (n * 3), differingShare: differing / n};
}

module.exports = {decodePng, compare};
