// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Before the program starts: the files that lie beside the program, named by its script
// element's data-program-files, are fetched from beside the page and put in the program's
// folder, where the core's file input reads them. A file the server does not have, or cannot
// send, is not there, as a missing file on the desktop; only the beginning of a file is kept,
// read as a stream, so that no file, however large, fills the page's memory.
//
// Where the program cannot start, the page says why: an element of the page with the id
// "notice-file" when it was opened as a file (browsers fetch nothing beside such a page), one
// with the id "notice-failed" otherwise.

(function () {
    // The core reads no text file past its first 64 KiB (TextFileLimits); a little more is kept.
    var keptBytes = 64 * 1024 + 4096;

    function showNotice(id) {
        var notice = document.getElementById(id);
        if (notice)
            notice.hidden = false;
    }

    // The first keptBytes bytes of the file; none where there is no such file.
    function readBeginning(url) {
        var kept = new Uint8Array(keptBytes);
        var length = 0;
        return fetch(url).then(function (response) {
            // A server may answer a missing file with a page of its own, and a status of 200.
            var type = response.headers.get('Content-Type') || '';
            if (!response.ok || !response.body || /^text\/html\b/i.test(type))
                return null;
            var reader = response.body.getReader();
            var next = function () {
                return reader.read().then(function (part) {
                    if (part.done)
                        return kept.subarray(0, length);
                    var take = Math.min(part.value.length, keptBytes - length);
                    kept.set(part.value.subarray(0, take), length);
                    length += take;
                    if (length < keptBytes)
                        return next();
                    reader.cancel();
                    return kept;
                });
            };
            return next();
        }).catch(function () {
            return null;
        });
    }

    if (location.protocol === 'file:') {
        showNotice('notice-file');
        // The program's own file cannot be fetched either: it does not start.
        Module['instantiateWasm'] = function () {
            return {};
        };
        return;
    }
    Module['onAbort'] = function () {
        showNotice('notice-failed');
    };
    var script = document.currentScript;
    var names = ((script && script.getAttribute('data-program-files')) || '').split(/\s+/).filter(function (name) {
        return name !== '' && name.indexOf('/') < 0;
    });
    var files = names.map(function (name) {
        return readBeginning(name).then(function (bytes) {
            return {name: name, bytes: bytes};
        });
    });
    Module['preRun'] = [function () {
        addRunDependency('program-files');
        Promise.all(files).then(function (fetched) {
            fetched.forEach(function (file) {
                if (file.bytes)
                    FS.createDataFile(FS.cwd(), file.name, file.bytes, true, false, true);
            });
            removeRunDependency('program-files');
        });
    }];
})();
