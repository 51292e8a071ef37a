// The touch screen's side of the page, run before the program: a layer over the picture where
// the flight's controls are drawn and which takes the page's touches while a flight runs, the
// queue of what it saw for the game to read (src/platform/sdl/web_touch.cpp), and the request
// to turn a phone held on end. Where the controls lie and what they hold the game decides; this
// only draws them.
(function () {
  'use strict';
  // Seven numbers a record: 1 the page's size and the picture's place in it, 2 a touch
  // anywhere, 3 a finger down, 4 moved, 5 up (finger, x, y), 6 the page stands on end (1) or
  // not (0).
  const queue = [];
  const record = (kind, a = 0, b = 0, c = 0, d = 0, e = 0, f = 0) =>
    queue.push([kind, a, b, c, d, e, f]);
  const coarse = window.matchMedia ? window.matchMedia('(pointer: coarse)') : {matches: false};
  let seen = false;
  let standing = false;
  let look = null;

  const host = document.getElementById('screen') || document.body;
  const layer = document.createElement('canvas');
  layer.id = 'touch';
  layer.width = layer.height = 1;
  layer.setAttribute('aria-hidden', 'true');
  layer.style.cssText = 'position:absolute;left:0;top:0;width:100%;height:100%;' +
      'pointer-events:none;touch-action:none;-webkit-user-select:none;user-select:none;' +
      '-webkit-touch-callout:none;-webkit-tap-highlight-color:transparent';
  host.appendChild(layer);

  const turn = document.createElement('div');
  turn.id = 'turn';
  turn.style.cssText = 'position:absolute;inset:0;display:none;flex-direction:column;' +
      'align-items:center;justify-content:center;gap:28px;background:#000;color:#d8d8d8;' +
      'font:18px "Liberation Sans",Arial,sans-serif;text-align:center;padding:24px;' +
      'box-sizing:border-box';
  turn.innerHTML =
      '<svg width="150" height="110" viewBox="0 0 150 110" aria-hidden="true">' +
      '<g fill="none" stroke-width="4" stroke-linecap="round" stroke-linejoin="round">' +
      '<rect x="10" y="20" width="36" height="64" rx="6" stroke="#8a8a8a"/>' +
      '<path d="M58 24 q34 -2 38 32" stroke="#c0c0c0"/>' +
      '<path d="M87 49 l9 9 l7 -11" stroke="#c0c0c0"/>' +
      '<rect x="72" y="64" width="66" height="36" rx="6" stroke="#5fe07a"/></g></svg>' +
      '<div>Otočte zařízení na šířku.</div>' +
      '<div style="font-size:14px;color:#9a9a9a">Hra se hraje palci po stranách obrazu.</div>';
  host.appendChild(turn);

  function measure() {
    const area = host.getBoundingClientRect();
    const canvas = Module.canvas;
    const picture = canvas && canvas.width ? canvas.getBoundingClientRect() : area;
    record(1, area.width, area.height, picture.left - area.left, picture.top - area.top,
           picture.width, picture.height);
    // A page on end shows the picture small between wide bars: a phone is asked to turn.
    const onEnd = area.height > area.width && (seen || coarse.matches);
    turn.style.display = onEnd ? 'flex' : 'none';
    if (onEnd !== standing) {
      standing = onEnd;
      record(6, onEnd ? 1 : 0);
    }
    if (look) draw(look);
  }
  window.addEventListener('resize', measure);
  document.addEventListener('fullscreenchange', measure);
  if (window.ResizeObserver) {
    const watch = new ResizeObserver(measure);
    watch.observe(host);
    if (Module.canvas) watch.observe(Module.canvas);
  }

  window.addEventListener('touchstart', function () {
    record(2);
    if (!seen) {
      seen = true;
      measure();
    }
  }, {capture: true, passive: true});

  function fingers(kind) {
    return function (e) {
      e.preventDefault();
      const area = layer.getBoundingClientRect();
      for (const t of e.changedTouches) {
        record(kind, t.identifier, t.clientX - area.left, t.clientY - area.top);
      }
    };
  }
  layer.addEventListener('touchstart', fingers(3), {passive: false});
  layer.addEventListener('touchmove', fingers(4), {passive: false});
  layer.addEventListener('touchend', fingers(5), {passive: false});
  layer.addEventListener('touchcancel', fingers(5), {passive: false});

  // --- Drawing -------------------------------------------------------------------------------
  // Dark glass with a steel rim, as the status bar's panels; what is pressed glows the green
  // of its lamps. Everything stays see-through, so the picture shows under it.
  const rim = 'rgba(205,215,222,0.55)';
  const glass = 'rgba(10,16,22,0.38)';
  const glow = 'rgba(95,224,122,0.95)';
  const ink = 'rgba(235,242,240,0.85)';

  function disc(ctx, x, y, r, pressed) {
    ctx.beginPath();
    ctx.arc(x, y, r, 0, 2 * Math.PI);
    ctx.fillStyle = pressed ? 'rgba(60,200,90,0.35)' : glass;
    ctx.fill();
    ctx.lineWidth = Math.max(2, r * 0.06);
    ctx.strokeStyle = pressed ? glow : rim;
    ctx.stroke();
  }

  // Icons drawn in a box of side 2 centred on 0, scaled to the button.
  const icons = [
    function cannon(ctx) {  // three shells side by side
      for (const x of [-0.42, 0, 0.42]) {
        ctx.beginPath();
        ctx.moveTo(x - 0.11, 0.38);
        ctx.lineTo(x - 0.11, -0.16);
        ctx.quadraticCurveTo(x, -0.52, x + 0.11, -0.16);
        ctx.lineTo(x + 0.11, 0.38);
        ctx.closePath();
        ctx.fill();
      }
    },
    function weapon(ctx) {  // a missile rising
      ctx.beginPath();
      ctx.moveTo(0, -0.62);
      ctx.quadraticCurveTo(0.16, -0.4, 0.13, -0.1);
      ctx.lineTo(0.13, 0.34);
      ctx.lineTo(0.32, 0.54);
      ctx.lineTo(0.13, 0.5);
      ctx.lineTo(-0.13, 0.5);
      ctx.lineTo(-0.32, 0.54);
      ctx.lineTo(-0.13, 0.34);
      ctx.lineTo(-0.13, -0.1);
      ctx.quadraticCurveTo(-0.16, -0.4, 0, -0.62);
      ctx.fill();
    },
    function next(ctx) {  // an arrow going round
      ctx.lineWidth = 0.16;
      ctx.beginPath();
      ctx.arc(0, 0, 0.46, -0.35 * Math.PI, 1.25 * Math.PI);
      ctx.stroke();
      ctx.beginPath();
      const a = -0.35 * Math.PI;
      const x = 0.46 * Math.cos(a), y = 0.46 * Math.sin(a);
      ctx.moveTo(x + 0.26, y - 0.02);
      ctx.lineTo(x - 0.06, y - 0.24);
      ctx.lineTo(x - 0.02, y + 0.2);
      ctx.closePath();
      ctx.fill();
    },
    function repair(ctx) {  // the red cross of the armour's gauge
      ctx.fillStyle = 'rgba(230,40,40,0.95)';
      ctx.fillRect(-0.14, -0.5, 0.28, 1.0);
      ctx.fillRect(-0.5, -0.14, 1.0, 0.28);
    },
    function pause(ctx) {
      ctx.fillRect(-0.36, -0.44, 0.24, 0.88);
      ctx.fillRect(0.12, -0.44, 0.24, 0.88);
    },
  ];
  const labels = ['KANÓN', 'ZBRAŇ'];

  function button(ctx, kind, x, y, r, pressed) {
    disc(ctx, x, y, r, pressed);
    const label = labels[kind];
    ctx.save();
    ctx.translate(x, label ? y - r * 0.12 : y);
    const s = r * (label ? 0.62 : 0.72);
    ctx.scale(s, s);
    ctx.fillStyle = ink;
    ctx.strokeStyle = ink;
    (icons[kind] || function () {})(ctx);
    ctx.restore();
    if (label) {
      ctx.fillStyle = ink;
      ctx.font = `bold ${Math.round(r * 0.26)}px "Liberation Sans", Arial, sans-serif`;
      ctx.textAlign = 'center';
      ctx.textBaseline = 'middle';
      ctx.fillText(label, x, y + r * 0.58);
    }
  }

  function stick(ctx, bx, by, kx, ky, r, held) {
    ctx.globalAlpha = held ? 1 : 0.55;
    ctx.beginPath();
    ctx.arc(bx, by, r, 0, 2 * Math.PI);
    ctx.fillStyle = glass;
    ctx.fill();
    ctx.lineWidth = Math.max(2, r * 0.035);
    ctx.strokeStyle = rim;
    ctx.stroke();
    // Four chevrons on the rim: the directions.
    ctx.fillStyle = rim;
    for (let i = 0; i < 4; i++) {
      ctx.save();
      ctx.translate(bx, by);
      ctx.rotate(i * Math.PI / 2);
      ctx.beginPath();
      ctx.moveTo(0, -r * 0.9);
      ctx.lineTo(r * 0.1, -r * 0.76);
      ctx.lineTo(-r * 0.1, -r * 0.76);
      ctx.closePath();
      ctx.fill();
      ctx.restore();
    }
    const k = r * 0.42;
    const pushed = held && Math.hypot(kx - bx, ky - by) > r * 0.2;
    const shade = ctx.createRadialGradient(kx - k * 0.3, ky - k * 0.3, k * 0.1, kx, ky, k);
    shade.addColorStop(0, 'rgba(235,240,242,0.9)');
    shade.addColorStop(1, 'rgba(120,130,138,0.8)');
    ctx.beginPath();
    ctx.arc(kx, ky, k, 0, 2 * Math.PI);
    ctx.fillStyle = shade;
    ctx.fill();
    ctx.lineWidth = Math.max(2, k * 0.1);
    ctx.strokeStyle = pushed ? glow : 'rgba(40,48,54,0.8)';
    ctx.stroke();
    ctx.globalAlpha = 1;
  }

  // look: flying, shown, the stick's base x y and knob x y, its radius, held, the buttons
  // pressed (a bit each); then per button its kind, x, y, radius.
  function draw(l) {
    const flying = l[0] !== 0;
    layer.style.pointerEvents = flying ? 'auto' : 'none';
    layer.style.cursor = flying ? 'none' : '';
    // Nothing to show keeps a canvas of one pixel: the layer still takes the touches, and the
    // page has no full-size picture to lay over the game's every frame.
    const shown = flying && l[1] !== 0;
    const ratio = window.devicePixelRatio || 1;
    const w = shown ? Math.round(layer.clientWidth * ratio) : 1;
    const h = shown ? Math.round(layer.clientHeight * ratio) : 1;
    if (layer.width !== w || layer.height !== h) {
      layer.width = w;
      layer.height = h;
    }
    const ctx = layer.getContext('2d');
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, w, h);
    if (!shown) return;
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    stick(ctx, l[2], l[3], l[4], l[5], l[6], l[7] !== 0);
    for (let i = 9; i + 3 < l.length; i += 4) {
      button(ctx, l[i], l[i + 1], l[i + 2], l[i + 3], (l[8] & (1 << l[i])) !== 0);
    }
  }

  Module.skTouch = {
    // A program starting (again): what an earlier one left unread goes, the page is measured.
    start: function () {
      queue.length = 0;
      look = null;
      if (seen) record(2);
      measure();
    },
    // Copies up to `capacity` records into the game's memory at HEAPF64[at]; how many.
    take: function (at, capacity) {
      const n = Math.min(capacity, queue.length);
      for (let i = 0; i < n; i++) HEAPF64.set(queue[i], at + i * 7);
      queue.splice(0, n);
      return n;
    },
    // What was drawn last (the look below), for the page's tests.
    drawn: function () {
      return look;
    },
    paint: function (l) {
      look = Array.from(l);
      draw(look);
    },
  };
  measure();
})();
