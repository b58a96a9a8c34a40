// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the browser tests run in the page itself, one expression whose value is an object of
// functions; test_web.py and test_firefox.mjs evaluate it as `(<this file>).see("count")`.
// - see(key): what a case of behaviours.json sees for that key of its 'see', read from the page's
//   elements and their ARIA roles, names and states, for the engines whose drivers read no
//   accessibility tree (WebKitGTK, Firefox); and in Chromium, places and sizes, and what a message
//   leaves out of its accessibility tree.
// - spot(label): where a click on a label lands, as [x, y] in the viewport: its middle or, behind
//   an open message, the first of its middle and corners that the message leaves uncovered.
//   Labels: count, add, credits, and OK, the open message's button.
// - press(label or element): a screen reader's press, as Chromium's default accessibility action
//   dispatches it at a node that has no action of its own: pointerdown, mousedown, pointerup,
//   mouseup and a click of detail 0, at the middle of the node.
// - ready(): the main form shows, its add label too (shown once the page keeps its clicks).
({
    labels() {
        const [count, add] = document.querySelectorAll('main [role=button]');
        return {count, add, credits: document.querySelector('[role=region] [role=button]'),
            OK: this.messages()[0]?.querySelector('button, [role=button]')};
    },
    messages() {
        return [...document.querySelectorAll('dialog, [role=dialog], [role=alertdialog]')].filter((d) => d.checkVisibility());
    },
    box(e) {
        const r = e.getBoundingClientRect();
        return [r.x, r.y, r.width, r.height];
    },
    // The box within the frame, in CSS pixels of the viewport.
    client(e) {
        const r = e.getBoundingClientRect(), scale = e.offsetWidth ? r.width / e.offsetWidth : 1;
        return [r.x + e.clientLeft * scale, r.y + e.clientTop * scale, e.clientWidth * scale, e.clientHeight * scale];
    },
    // The texts of the elements that an attribute such as aria-labelledby names.
    named(e, attribute) {
        const ids = (e.getAttribute(attribute) || '').split(/\s+/).filter(Boolean);
        return ids.length ? ids.map((id) => document.getElementById(id)?.textContent ?? '').join(' ') : null;
    },
    // The program has taken over the form's first frame, which the page shows before it runs.
    ready() {
        const {count, add} = this.labels();
        return Boolean(count && add && add.checkVisibility({visibilityProperty: true}) && !document.querySelector('.rt-first'));
    },
    see(key) {
        const list = document.querySelector('main [role=listbox]');
        const {count, add, credits} = this.labels();
        const rows = [...list.querySelectorAll('[role=option]')].filter((r) => !r.hidden);
        const selected = rows.find((r) => r.getAttribute('aria-selected') === 'true');
        let form = list;
        while (!form.contains(count) || !form.contains(add))
            form = form.parentElement;
        const [fx, fy, fw, fh] = this.client(form);
        const inForm = (e) => { const [x, y, w, h] = this.box(e); return [x - fx, y - fy, w, h]; };
        switch (key) {
        case 'title': return document.title;
        case 'count': return count.textContent;
        case 'add': return add.textContent;
        case 'animals': return rows.length ? Number(rows[0].getAttribute('aria-setsize')) : 0;
        case 'items': return rows.map((r) => r.textContent);
        case 'selected': return selected ? Number(selected.getAttribute('aria-posinset')) - 1 : null;
        case 'listName': return this.named(list, 'aria-labelledby') ?? list.getAttribute('aria-label') ?? list.title;
        case 'credits': return credits?.checkVisibility() ? credits.textContent : null;
        case 'layout': return {form: [fw, fh], list: inForm(list), count: inForm(count), add: inForm(add)};
        case 'message': {
            const open = this.messages();
            if (open.length !== 1)
                return open.length ? [`${open.length} messages`, '', []] : null;
            const icon = open[0].querySelector('img, svg, [role=img]') ? ' (with an icon)' : '';
            return [(this.named(open[0], 'aria-labelledby') ?? open[0].getAttribute('aria-label') ?? '') + icon,
                this.named(open[0], 'aria-describedby') ?? '',
                [...open[0].querySelectorAll('button, [role=button]')].map((b) => b.textContent)];
        }
        case 'about': {
            const about = credits?.closest('[role=region]');
            if (!about?.checkVisibility())
                return 'hidden';
            const [x, y, w, h] = this.box(about), [mx, my, mw, mh] = this.box(form);
            const viewport = document.documentElement;
            const whole = x >= 0 && y >= 0 && x + w <= viewport.clientWidth && y + h <= viewport.clientHeight;
            const clear = x >= mx + mw || x + w <= mx || y >= my + mh || y + h <= my;
            return whole && clear ? 'beside' : `at ${[x, y, w, h]}, the main window at ${[mx, my, mw, mh]}`;
        }
        }
        throw new Error(`nothing to see as ${key}`);
    },
    spot(label) {
        const [x, y, w, h] = this.box(this.labels()[label]);
        const cover = label !== 'OK' && this.messages()[0] && this.box(this.messages()[0]);
        const spots = [[0.5, 0.5], [0.1, 0.1], [0.9, 0.1], [0.1, 0.9], [0.9, 0.9]].map(([fx, fy]) => [x + w * fx, y + h * fy]);
        const open = ([sx, sy]) => !cover || sx < cover[0] || sx > cover[0] + cover[2] || sy < cover[1] || sy > cover[1] + cover[3];
        return spots.find(open) ?? spots[0];
    },
    press(label) {
        const node = label instanceof Element ? label : this.labels()[label];
        const r = node.getBoundingClientRect();
        const at = {bubbles: true, cancelable: true, composed: true, view: window, detail: 0, button: 0,
            clientX: r.x + r.width / 2, clientY: r.y + r.height / 2, pointerId: 1, pointerType: 'mouse', isPrimary: true};
        for (const [type, Kind, buttons] of [['pointerdown', PointerEvent, 1], ['mousedown', MouseEvent, 1],
            ['pointerup', PointerEvent, 0], ['mouseup', MouseEvent, 0], ['click', PointerEvent, 0]])
            node.dispatchEvent(new Kind(type, {...at, buttons}));
    },
})
