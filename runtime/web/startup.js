// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the program's Module is given before it starts, through Emscripten's documented hooks
// alone: the program's WebAssembly is fetched and compiled here (instantiateWasm) rather than by
// Emscripten's loader, from the path that the page gives (programfiles.js), so that the page can
// say why it did not start: where the file could not be fetched, or the server no longer has it,
// as programfiles.js tells; the browser, where it cannot run the program. A page opened as a file
// fetches nothing beside it, and does not start. The files that programfiles.js fetches are put
// in the program's folder by the page's driver (page.js) once the program runs.

(function () {
    var notice = Module['showNotice'] || function () {};
    var notFetched = Module['notFetched'] || function () {};
    if (location.protocol === 'file:') {
        notice('notice-file');
        Module['instantiateWasm'] = function () {
            return {};
        };
        return;
    }
    Module['onAbort'] = function () {
        notice('notice-failed');
    };
    Module['instantiateWasm'] = function (imports, receive) {
        fetch(Module['wasmFile'], {credentials: 'same-origin'}).then(function (response) {
            if (!response.ok) {
                notFetched(response.status);
                return null;
            }
            // Compiled as it arrives; where the server sends it under another type, from its bytes.
            return WebAssembly.instantiateStreaming(response.clone(), imports).catch(function () {
                return response.arrayBuffer().then(function (bytes) {
                    return WebAssembly.instantiate(bytes, imports);
                });
            });
        }, function () {
            notFetched(0);
            return null;
        }).then(function (compiled) {
            if (compiled)
                receive(compiled.instance, compiled.module);
        }, function (error) {
            console.error('The program did not start: ' + error);
            notice('notice-failed');
        });
        return {};
    };
})();
