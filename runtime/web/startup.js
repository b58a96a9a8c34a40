// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The files that programfiles.js fetches are put in the program's folder, where the core's file
// input reads them, as soon as they have arrived. The program does not wait for them, so that a
// stalled or slow file never keeps the game from showing; a click waits for them (page.js), three
// seconds at most, and one after that draws from no file, as on the desktop where there is none.
//
// The program's WebAssembly is fetched and compiled here rather than by Emscripten's loader, so
// that the page can say why it did not start (programfiles.js shows the notices): the network,
// where the file could not be fetched, as on a first visit with no network; the browser,
// otherwise. A page opened as a file fetches nothing beside it, and does not start.

(function () {
    var notice = Module['showNotice'] || function () {};
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
        fetch(wasmBinaryFile, {credentials: 'same-origin'}).then(function (response) {
            if (!response.ok)
                throw new Error('the server has no ' + wasmBinaryFile + ' (' + response.status + ')');
            // Compiled as it arrives; where the server sends it under another type, from its bytes.
            return WebAssembly.instantiateStreaming(response.clone(), imports).catch(function () {
                return response.arrayBuffer().then(function (bytes) {
                    return WebAssembly.instantiate(bytes, imports);
                });
            });
        }, function () {
            notice('notice-offline');
            return null;
        }).then(function (compiled) {
            if (compiled)
                receive(compiled.instance, compiled.module);
        }, function (error) {
            err('the program did not start: ' + error);
            notice('notice-failed');
        });
        return {};
    };
    // Files that have arrived before the program starts are in its folder when it starts (the
    // file system takes them only then); later ones go through the program.
    // programFilesPut settles once they are there.
    var files = Module['programFiles'] || Promise.resolve([]);
    var arrived = null;
    var put = null;
    Module['programFilesPut'] = new Promise(function (resolve) {
        put = resolve;
    });
    files.then(function (fetched) {
        arrived = fetched;
    });
    Module['preRun'] = [function () {
        if (!arrived)
            return;
        arrived.forEach(function (file) {
            if (file.bytes)
                FS.createDataFile(FS.cwd(), file.name, file.bytes, true, false, true);
        });
        put();
    }];
    Module['postRun'] = [function () {
        if (arrived)
            return;
        files.then(function (fetched) {
            fetched.forEach(function (file) {
                if (!file.bytes)
                    return;
                var name = allocateUTF8(file.name);
                var bytes = _malloc(Math.max(1, file.bytes.length));
                if (name && bytes) {
                    HEAPU8.set(file.bytes, bytes);
                    _rtWebPutFile(name, bytes, file.bytes.length);
                }
                _free(bytes);
                _free(name);
            });
            put();
        });
    }];
})();
