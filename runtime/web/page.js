// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page under the forms API's driver (webdriver.h, which lists what the driver supports and
// where it differs): the functions that webdriver.h declares, and the only code of the program
// that touches the DOM. Forms, labels and list boxes are elements of the page, styled by page.css
// in the browser's system colours and font; a message is a modal <dialog>. listen() translates the
// page's events, in one place, into calls of the program.
//
// Supports: any zoom and device pixel ratio, the text being the page's own; mouse, touch and
// screen readers, each click, tap or press passed on with its place in a run of quick clicks
// (press()); the desktop list box's keys; a focus that no click on a label or beside the list
// moves, and that a closed message gives back.
// Differs: the page is the window, and carries the start-up form's first frame; a tap is a click;
// a long animal name is cut at the list's edge; no typing to find an animal; no drawing of its
// own, and no fonts or scripts from elsewhere.

mergeInto(LibraryManager.library, {
    $Page: {
        nodes: [null],
        fontMetrics: null,
        decoder: null,
        message: null,
        // The messages to show, the one open first.
        messages: [],
        lastClick: {},

        // Every character kept: a byte-order mark at the start of a text stays part of it.
        text: function (pointer, length) {
            Page.decoder = Page.decoder || new TextDecoder('utf-8', {ignoreBOM: true});
            return Page.decoder.decode(HEAPU8.subarray(pointer, pointer + length));
        },

        add: function (node) {
            node.rtHandle = Page.nodes.length;
            Page.nodes.push(node);
            return node.rtHandle;
        },

        // The page may carry the start-up form's first frame (class rt-first), which shows before
        // the program runs: the program takes its elements over, in the order in which it makes
        // its own, so that nothing moves. The first child of the parent that matches and is not
        // the program's yet; null where there is none.
        adopt: function (parent, selector) {
            for (var child = parent.firstElementChild; child; child = child.nextElementSibling) {
                if (!child.rtHandle && child.matches(selector))
                    return child;
            }
            return null;
        },

        create: function (tag, className, parent) {
            var node = document.createElement(tag);
            node.className = className;
            parent.appendChild(node);
            return node;
        },

        // The forms' font at the browser's text size, measured once, and again after the viewport
        // changes: the browser's text size may have changed with it.
        font: function () {
            return Page.fontMetrics || (Page.fontMetrics = Page.measureFont());
        },

        // Measured as the design font was: the average width weighs the lowercase letters and the
        // space by how often they occur in English text (a font's xAvgCharWidth), in a line of a
        // thousand of them; the height is the font's ascent and descent, measured at a hundred
        // times the size: browsers round each to a whole pixel, Gecko up and Blink to the nearest,
        // which made Firefox's rows a pixel higher than Chromium's. The height of an inline box of
        // its text is the fallback.
        measureFont: function () {
            var probe = Page.create('div', 'rt-form', document.body);
            probe.style.visibility = 'hidden';
            probe.style.whiteSpace = 'pre';
            probe.setAttribute('aria-hidden', 'true');
            var weights = {a: 64, b: 14, c: 27, d: 35, e: 100, f: 20, g: 14, h: 42, i: 63, j: 3, k: 6, l: 35, m: 20,
                n: 56, o: 56, p: 17, q: 4, r: 49, s: 56, t: 71, u: 31, v: 10, w: 18, x: 3, y: 18, z: 2, ' ': 166};
            var line = '';
            for (var letter in weights)
                line += letter.repeat(weights[letter]);
            var text = Page.create('span', '', probe);
            text.textContent = line;
            var box = text.getBoundingClientRect();
            var size = parseFloat(getComputedStyle(probe).fontSize);
            var context = document.createElement('canvas').getContext('2d');
            context.font = size * 100 + 'px ' + getComputedStyle(probe).fontFamily;
            var metrics = context.measureText(line);
            var height = (metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent) / 100;
            probe.remove();
            return {averageCharWidth: box.width / 1000, height: height > 0 ? height : box.height > 0 ? box.height : size * 1.15};
        },

        // Rows are laid out by arithmetic: each as high as the forms' font, one above the next.
        rowHeight: function () {
            return Math.ceil(Page.font().height) + 2;
        },

        // Only the rows in view (and one more) are in the page, in the order of their items, so
        // that a screen reader reads them in order. Scrolling by a few items moves as many rows
        // from one end to the other and gives them their new items; the rest stay as they are.
        render: function (node) {
            var list = node.rtList;
            var height = list.rowHeight;
            var count = list.items.length;
            var shown = Math.min(count, Math.ceil(list.view / height) + 1);
            var rows = list.rows;
            while (rows.length < shown) {
                var added = Page.create('div', 'rt-option', node);
                added.setAttribute('role', 'option');
                added.id = 'rt-option-' + node.rtHandle + '-' + rows.length;
                added.rtIndex = -1;
                rows.push(added);
            }
            var first = Math.max(0, Math.min(Math.floor(list.scrollTop / height), count - shown));
            var shift = first - list.first;
            if (shift > 0 && shift < rows.length) {
                for (var down = 0; down < shift; down++) {
                    var moved = rows.shift();
                    rows.push(moved);
                    node.appendChild(moved);
                }
            } else if (shift < 0 && -shift < rows.length) {
                for (var up = 0; up < -shift; up++) {
                    var lifted = rows.pop();
                    rows.unshift(lifted);
                    node.insertBefore(lifted, list.extent.nextSibling);
                }
            }
            list.first = first;
            var active = null;
            for (var k = 0; k < rows.length; k++) {
                var row = rows[k];
                var index = first + k;
                if (k >= shown) {
                    if (!row.hidden)
                        row.hidden = true;
                    row.rtIndex = -1;
                    continue;
                }
                if (row.rtIndex !== index || row.rtHeight !== height) {
                    row.rtIndex = index;
                    row.rtHeight = height;
                    row.textContent = list.items[index];
                    row.style.top = index * height + 'px';
                    row.style.height = row.style.lineHeight = height + 'px';
                    row.setAttribute('aria-posinset', index + 1);
                }
                if (row.rtSetSize !== count) {
                    row.rtSetSize = count;
                    row.setAttribute('aria-setsize', count);
                }
                var selected = index === list.selected;
                if (row.rtSelected !== selected) {
                    row.rtSelected = selected;
                    row.setAttribute('aria-selected', selected);
                }
                if (selected)
                    active = row.id;
                if (row.hidden)
                    row.hidden = false;
            }
            if (active)
                node.setAttribute('aria-activedescendant', active);
            else
                node.removeAttribute('aria-activedescendant');
        },

        // Rows wholly in view.
        rowsInView: function (list) {
            return Math.max(1, Math.floor(list.view / list.rowHeight));
        },

        // As high as the items, and as much again as lets the last item be scrolled up to the
        // last whole row in view.
        extend: function (list) {
            var slack = Math.max(0, list.view - Page.rowsInView(list) * list.rowHeight);
            list.extent.style.height = list.items.length * list.rowHeight + slack + 'px';
        },

        // Selects the item and scrolls the least that brings it into view, by whole items, as the
        // desktop's list boxes do.
        select: function (node, index) {
            var list = node.rtList;
            var height = list.rowHeight;
            list.selected = index;
            var top = index * height;
            var scrollTop = list.scrollTop;
            if (top < scrollTop)
                scrollTop = top;
            else if (top + height > scrollTop + list.view)
                scrollTop = (index + 1 - Page.rowsInView(list)) * height;
            if (scrollTop !== list.scrollTop) {
                list.scrollTop = scrollTop;
                node.scrollTop = scrollTop;
            }
            Page.render(node);
        },

        // The desktop list box's keys: up, down, a page up or down, first and last.
        listKey: function (node, key) {
            var list = node.rtList;
            var count = list.items.length;
            var page = Math.max(1, Page.rowsInView(list) - 1);
            var at = list.selected;
            var moves = {ArrowUp: at - 1, ArrowDown: at + 1, PageUp: at - page, PageDown: at + page, Home: 0, End: count - 1};
            if (!(key in moves) || count === 0)
                return false;
            Page.select(node, Math.max(0, Math.min(count - 1, moves[key])));
            return true;
        },

        // A click on a label, or a screen reader's press (detail 0), to the program with its place
        // in its run of quick clicks: from 1, and 0 for a press. Browsers count a run in
        // event.detail, but each its own way: Chromium's own input stops at 3 (1, 2, 3, 3, 3),
        // DevTools' counts on, and ChromeDriver's, which drives it in tests, starts again after 3
        // (1, 2, 3, 1, 2). So the page counts on from the last click's place where the browser
        // says that the run goes on, and where it starts again at 1 right after a 3 on the same
        // spot, within the desktop's double-click time and distance (half a second, 4 pixels).
        press: function (label, event) {
            var last = Page.lastClick;
            var again = event.detail === 1 && last.detail === 3 && event.timeStamp - last.time <= 500
                && Math.abs(event.clientX - last.x) <= 4 && Math.abs(event.clientY - last.y) <= 4;
            var onwards = last.label === label && last.place > 0 && (event.detail > 1 || again);
            var place = event.detail === 0 ? 0 : onwards ? last.place + 1 : 1;
            Page.lastClick = {label: label, place: place, detail: event.detail, time: event.timeStamp, x: event.clientX, y: event.clientY};
            if (label.rtDriver)
                _rtWebLabelPressed(label.rtDriver, place);
        },

        // A file that the page fetched, into the program's folder under its name.
        putFile: function (name, bytes) {
            var encoded = new TextEncoder().encode(name + '\0');
            var namePointer = _malloc(encoded.length);
            var bytesPointer = _malloc(Math.max(1, bytes.length));
            if (namePointer && bytesPointer) {
                HEAPU8.set(encoded, namePointer);
                HEAPU8.set(bytes, bytesPointer);
                _rtWebPutFile(namePointer, bytesPointer, bytes.length);
            }
            _free(bytesPointer);
            _free(namePointer);
        },

        createMessage: function () {
            var dialog = Page.create('dialog', 'rt-message', document.body);
            dialog.setAttribute('aria-labelledby', 'rt-message-title');
            dialog.setAttribute('aria-describedby', 'rt-message-text');
            Page.create('div', 'rt-message-title', dialog).id = 'rt-message-title';
            Page.create('p', 'rt-message-text', dialog).id = 'rt-message-text';
            var button = Page.create('button', '', Page.create('div', 'rt-message-buttons', dialog));
            button.type = 'button';
            button.textContent = 'OK';
            // Closed by OK (or Return on it) at once, so that a click right after it counts; by
            // Escape, when the browser says so, a task later. Then the focus goes back on the owner's
            // control that had it, the program is told, and the next message shows. A close that the
            // browser reports after OK has been dealt with finds the message gone, or the next open.
            button.addEventListener('click', function () {
                dialog.close();
                Page.messageClosed();
            });
            dialog.addEventListener('close', function () {
                if (!dialog.open && Page.messages.length)
                    Page.messageClosed();
            });
            dialog.rtButton = button;
            return dialog;
        },

        messageClosed: function () {
            var closed = Page.messages.shift();
            var owner = Page.nodes[closed.owner];
            if (owner && owner.rtFocus)
                owner.rtFocus.focus({preventScroll: true});
            _rtWebMessageClosed(closed.onClose);
            if (Page.messages.length)
                Page.showMessage();
        },

        showMessage: function () {
            var dialog = Page.message || (Page.message = Page.createMessage());
            document.getElementById('rt-message-title').textContent = Page.messages[0].title;
            document.getElementById('rt-message-text').textContent = Page.messages[0].prompt;
            dialog.showModal();
            dialog.rtButton.focus();
        },
    },

    rtWebCreateForm__deps: ['$Page'],
    rtWebCreateForm: function (framed, owned, driver) {
        var className = framed ? 'rt-form rt-framed' : 'rt-form';
        var node = (!owned && Page.adopt(document.body, 'main.rt-first')) || Page.create(owned ? 'div' : 'main', className, document.body);
        node.className = className;
        node.hidden = true;
        node.rtForm = driver;
        node.rtOwned = owned;
        if (owned)
            node.setAttribute('role', 'region');
        return Page.add(node);
    },

    rtWebCreateLabel__deps: ['$Page'],
    rtWebCreateLabel: function (form, driver) {
        var node = Page.adopt(Page.nodes[form], '.rt-label') || Page.create('div', 'rt-label', Page.nodes[form]);
        node.setAttribute('role', 'button');
        node.rtDriver = driver;
        return Page.add(node);
    },

    rtWebCreateList__deps: ['$Page'],
    rtWebCreateList: function (form) {
        var node = Page.adopt(Page.nodes[form], '.rt-list') || Page.create('div', 'rt-list', Page.nodes[form]);
        node.setAttribute('role', 'listbox');
        node.tabIndex = 0;
        var extent = node.querySelector('.rt-extent') || Page.create('div', 'rt-extent', node);
        extent.setAttribute('aria-hidden', 'true');
        node.rtList = {items: [], selected: -1, rows: [], first: 0, extent: extent, view: 0, scrollTop: 0, rowHeight: 0};
        return Page.add(node);
    },

    rtWebRemove__deps: ['$Page'],
    rtWebRemove: function (element) {
        var node = Page.nodes[element];
        node.remove();
        node.rtDriver = node.rtForm = null;
        Page.nodes[element] = null;
    },

    rtWebSetDocumentTitle__deps: ['$Page'],
    rtWebSetDocumentTitle: function (text, length) {
        document.title = Page.text(text, length);
    },

    rtWebSetName__deps: ['$Page'],
    rtWebSetName: function (element, text, length) {
        Page.nodes[element].setAttribute('aria-label', Page.text(text, length));
    },

    rtWebSetText__deps: ['$Page'],
    rtWebSetText: function (element, text, length) {
        Page.nodes[element].textContent = Page.text(text, length);
    },

    rtWebSetVisible__deps: ['$Page'],
    rtWebSetVisible: function (element, visible) {
        var node = Page.nodes[element];
        node.hidden = !visible;
        // A form shown below another may lie below the fold.
        if (visible && node.rtOwned)
            node.scrollIntoView({block: 'nearest', inline: 'nearest'});
    },

    // A list's rows follow its box and the forms' font.
    rtWebPlace__deps: ['$Page'],
    rtWebPlace: function (element, left, top, width, height) {
        var node = Page.nodes[element];
        var style = node.style;
        style.left = left + 'px';
        style.top = top + 'px';
        style.width = width + 'px';
        style.height = height + 'px';
        var list = node.rtList;
        if (list) {
            list.rowHeight = Page.rowHeight();
            // The border of .rt-list, one pixel on each side.
            list.view = Math.max(0, height - 2);
            Page.extend(list);
            if (list.selected >= 0)
                Page.select(node, list.selected);
            else if (list.items.length)
                Page.render(node);
        }
    },

    rtWebFocusOn__deps: ['$Page'],
    rtWebFocusOn: function (form, control) {
        var node = Page.nodes[control];
        Page.nodes[form].rtFocus = node;
        node.focus({preventScroll: true});
    },

    rtWebAppendItem__deps: ['$Page'],
    rtWebAppendItem: function (element, text, length) {
        var node = Page.nodes[element];
        node.rtList.items.push(Page.text(text, length));
        Page.extend(node.rtList);
        Page.render(node);
    },

    rtWebSelectItem__deps: ['$Page'],
    rtWebSelectItem: function (element, index) {
        Page.select(Page.nodes[element], index);
    },

    rtWebSelectedItem__deps: ['$Page'],
    rtWebSelectedItem: function (element) {
        return Page.nodes[element].rtList.selected;
    },

    rtWebShowMessage__deps: ['$Page', 'rtWebMessageClosed'],
    rtWebShowMessage: function (owner, prompt, promptLength, title, titleLength, onClose) {
        Page.messages.push({owner: owner, prompt: Page.text(prompt, promptLength), title: Page.text(title, titleLength),
            onClose: onClose});
        if (Page.messages.length === 1)
            Page.showMessage();
    },

    rtWebFontMetrics__deps: ['$Page'],
    rtWebFontMetrics: function (metrics) {
        HEAPF64[metrics >> 3] = Page.font().averageCharWidth;
        HEAPF64[(metrics >> 3) + 1] = Page.font().height;
    },

    rtWebViewportWidth: function () {
        return document.documentElement.clientWidth;
    },

    // The one place where the page's events are translated: a click on a label, a new viewport,
    // and the list boxes' own mouse, touch and keys. While a message is open the page behind it is
    // inert; a click there, or on the message beside its button, leaves the focus on the button.
    // The files that programfiles.js fetched go into the program's folder once they are all there. Clicks
    // on the labels before the program ran, and until those files are in its folder (or for three
    // seconds at most), are kept by programfiles.js: they count then, in their order.
    rtWebListen__deps: ['$Page', 'rtWebLabelPressed', 'rtWebViewportChanged', 'rtWebPutFile', 'malloc', 'free'],
    rtWebListen: function () {
        document.addEventListener('click', function (event) {
            var target = event.target instanceof Element ? event.target : null;
            var label = target && target.closest('.rt-label');
            if (label && !Module['earlyClicks'])
                Page.press(label, event);
            var row = target && target.closest('.rt-option');
            if (row && row.rtIndex >= 0)
                Page.select(row.parentNode, row.rtIndex);
        });
        // A press in a form beside its list moves no focus, and gives it back to the form's control
        // where a click on the page beside the forms took it away.
        document.addEventListener('mousedown', function (event) {
            var target = event.target instanceof Element ? event.target : document.body;
            var form = target.closest('.rt-form');
            if (Page.message && Page.message.open) {
                if (target !== Page.message.rtButton)
                    event.preventDefault();
            } else if (form && !target.closest('.rt-list')) {
                event.preventDefault();
                if (form.rtFocus && !(document.activeElement && document.activeElement.closest('.rt-form')))
                    form.rtFocus.focus({preventScroll: true});
            }
        });
        document.addEventListener('keydown', function (event) {
            var target = event.target;
            if (target instanceof Element && target.classList.contains('rt-list') && !event.altKey && !event.ctrlKey
                && !event.metaKey && Page.listKey(target, event.key))
                event.preventDefault();
        });
        document.addEventListener('scroll', function (event) {
            var node = event.target;
            if (node instanceof Element && node.rtList && node.scrollTop !== node.rtList.scrollTop) {
                node.rtList.scrollTop = node.scrollTop;
                Page.render(node);
            }
        }, true);
        // Owners first, as they were made: an owned form stands beside its owner's new frame.
        window.addEventListener('resize', function () {
            Page.fontMetrics = null;
            Page.nodes.forEach(function (node) {
                if (node && node.rtForm)
                    _rtWebViewportChanged(node.rtForm);
            });
        });
        var early = Module['earlyClicks'] || [];
        var counted = false;
        var count = function () {
            if (counted)
                return;
            counted = true;
            Module['earlyClicks'] = null;
            early.forEach(function (event) {
                Page.press(event.target.closest('.rt-label'), event);
            });
        };
        (Module['programFiles'] || Promise.resolve([])).then(function (files) {
            files.forEach(function (file) {
                if (file.bytes)
                    Page.putFile(file.name, file.bytes);
            });
        }).then(count);
        setTimeout(count, 3000);
    },
});
