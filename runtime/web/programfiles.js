// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's one script, deferred so that it never keeps the page from showing. It starts the
// program's script, which its element names in data-program, and fetches the files that lie
// beside the program, named in data-program-files, while the program itself still loads;
// the page's driver (page.js) puts them in the program's folder once they have arrived. A file that the server
// does not have, or cannot send, is left out, as a missing file on the desktop. Only the
// beginning of a file is kept, read as a stream, so that no file, however large, fills the
// page's memory.
//
// It also keeps the site for the next start: it registers the service worker that its element
// names in data-service-worker, which stores what a start needs, so that the game starts again
// with no network. It keeps the clicks on the labels until the program counts them. And it shows
// the page's notices (an element of the page by its id, such as "notice-offline"), for
// startup.js and where the program's script cannot be fetched.

var Module = typeof Module !== 'undefined' ? Module : {};

(function () {
    // The core reads no text file past its first 64 KiB (TextFileLimits); a little more is kept.
    var keptBytes = 64 * 1024 + 4096;

    // The first keptBytes bytes of the file; null where there is no such file.
    function readBeginning(url) {
        var kept = new Uint8Array(keptBytes);
        var length = 0;
        return fetch(url, {cache: 'no-cache'}).then(function (response) {
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

    // A notice stands in place of the forms, the first frame's or the program's, which would not
    // answer.
    function showNotice(id) {
        var notice = document.getElementById(id);
        if (notice)
            notice.hidden = false;
        document.querySelectorAll('.rt-form').forEach(function (form) {
            form.hidden = true;
        });
    }
    Module['showNotice'] = showNotice;

    // A file of the program's own did not come, with the server's status, or 0 for no answer at
    // all. Where the server no longer has it, a new build has replaced the one that this page
    // names, and the page loads itself once more, past every cache (sw.js takes a reload to the
    // network), saying that a new version is on its way; once only, so that a server that has lost
    // the file for good ends in a notice, not in a loop. No answer means no network; anything
    // else, that the game cannot start here.
    function notFetched(status) {
        if (status === 0)
            return showNotice('notice-offline');
        if (status !== 404 && status !== 410)
            return showNotice('notice-failed');
        try {
            if (sessionStorage.getItem('bargeling-reloaded') === location.href + ' ' + program)
                return showNotice('notice-failed');
            sessionStorage.setItem('bargeling-reloaded', location.href + ' ' + program);
        } catch (error) {
            return showNotice('notice-failed');
        }
        showNotice('notice-update');
        location.reload();
    }
    Module['notFetched'] = notFetched;

    // Clicks on the labels, those of the form's first frame among them, kept until the program
    // runs and has the files that it reads, and passed to it then as they came (page.js).
    var early = [];
    Module['earlyClicks'] = early;
    document.addEventListener('click', function (event) {
        if (Module['earlyClicks'] === early && event.target instanceof Element && event.target.closest('.rt-label'))
            early.push(event);
    });
    document.querySelectorAll('.rt-first').forEach(function (frame) {
        frame.classList.add('rt-keeping');
    });

    var script = document.currentScript;
    var names = ((script && script.getAttribute('data-program-files')) || '').split(/\s+/).filter(function (name) {
        return name !== '' && name.indexOf('/') < 0;
    });
    // A page opened as a file fetches nothing beside it (startup.js says so in the page).
    if (location.protocol === 'file:')
        names = [];
    // The program's script, named in data-program, runs once the page has painted its first
    // frame: where the script is at hand at once (from the service worker's store), running it
    // first would hold that paint back. The page fetches it from the start (a preload).
    var program = script && script.getAttribute('data-program');
    Module['wasmFile'] = script && script.getAttribute('data-program-wasm');
    var started = false;
    var startProgram = function () {
        if (started)
            return;
        started = true;
        var element = document.createElement('script');
        element.src = program;
        // A script that fails tells no status: asked once more, the server does.
        element.addEventListener('error', function () {
            if (location.protocol !== 'file:')
                fetch(program, {cache: 'no-store'}).then(function (response) {
                    notFetched(response.ok ? -1 : response.status);
                }, function () {
                    notFetched(0);
                });
        });
        document.head.appendChild(element);
    };
    if (program) {
        requestAnimationFrame(function () {
            setTimeout(startProgram);
        });
        // A page out of view paints nothing.
        setTimeout(startProgram, 100);
    }
    // Once the page has loaded, so that the worker's downloads do not slow the first start.
    var worker = script && script.getAttribute('data-service-worker');
    if (worker && 'serviceWorker' in navigator && location.protocol !== 'file:')
        window.addEventListener('load', function () {
            // A worker already in use is asked for its build's successor at each start: a player who
            // stays only a moment still gets a new build by the next start.
            navigator.serviceWorker.register(worker).then(function (registration) {
                if (registration.active)
                    registration.update().catch(function () {}); // offline: the next start asks again
            }).catch(function (error) {
                console.warn('The game cannot be kept for playing offline: ' + error);
            });
        });
    Module['programFiles'] = Promise.all(names.map(function (name) {
        return readBeginning(name).then(function (bytes) {
            return {name: name, bytes: bytes};
        });
    }));
})();
