// Loads the generator's WebAssembly module: compiled once, while it
// downloads, then instantiated wherever it is needed: on the page's thread to
// read option values as the generator reads them, and in each worker that
// makes maps (a compiled module passes to a worker in a message).
import createModule from './varnholt.mjs';

const WASM = new URL('varnholt.wasm', import.meta.url);

// Compiles the module as it downloads. A server that does not label the file
// application/wasm, which streaming compilation requires, gets it compiled
// from the whole download instead, so any static server works.
async function compile() {
  const response = await fetch(WASM);
  if (!response.ok) throw new Error(`varnholt.wasm: ${response.status} ${response.statusText}`);
  if (response.headers.get('Content-Type')?.split(';')[0].trim() === 'application/wasm') {
    return WebAssembly.compileStreaming(response);
  }
  return WebAssembly.compile(await response.arrayBuffer());
}

let compiling;
let pageInstance;

// Resolves to the compiled WebAssembly.Module. A failed download or
// compilation rejects, and the next call tries again.
export function compiledModule() {
  compiling ??= compile().catch((error) => {
    compiling = undefined;
    throw error;
  });
  return compiling;
}

// Resolves to a new instance of the generator (its exported functions, as
// web/module.cpp declares them) made from a compiled module; rejects when
// the instance cannot be made (no memory for it).
export function instantiate(module) {
  let fail;
  const failure = new Promise((resolve, reject) => { fail = reject; });
  const instance = createModule({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(module, imports).then((made) => receive(made, module), fail);
      return {};  // the exports follow through receive
    },
  });
  return Promise.race([instance, failure]);
}

// Resolves to the page thread's own instance, made once; rejects when the
// module cannot be loaded, and the next call tries again.
export function pageGenerator() {
  pageInstance ??= compiledModule().then(instantiate).catch((error) => {
    pageInstance = undefined;
    throw error;
  });
  return pageInstance;
}
