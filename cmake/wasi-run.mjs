// node wasi-run.mjs PROGRAM.wasm [ARGS...]
//
// Runs a WASI command program under Node's built-in WASI, with the whole file system and the
// environment visible and its exit status passed on: the emulator through which the web build's
// ctest runs the core's test programs, and the build runs the page writer.
import { readFile } from 'node:fs/promises';
import process from 'node:process';
import { WASI } from 'node:wasi';

const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({
  version: 'preview1',
  args: [program, ...args],
  env: process.env,
  preopens: { '/': '/' },
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instance);
