// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Before the program starts: the files that programfiles.js has fetched are put in the
// program's folder, where the core's file input reads them; the program waits for them.
//
// Where the program cannot start, the page says why: an element of the page with the id
// "notice-file" when it was opened as a file (browsers fetch nothing beside such a page), one
// with the id "notice-failed" otherwise.

(function () {
    function showNotice(id) {
        var notice = document.getElementById(id);
        if (notice)
            notice.hidden = false;
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
    var files = Module['programFiles'] || Promise.resolve([]);
    Module['preRun'] = [function () {
        addRunDependency('program-files');
        files.then(function (fetched) {
            fetched.forEach(function (file) {
                if (file.bytes)
                    FS.createDataFile(FS.cwd(), file.name, file.bytes, true, false, true);
            });
            removeRunDependency('program-files');
        });
    }];
})();
