// The report's 3D view. Plain ES5 so that any browser with WebGL runs it.
// It reads the model from the page's "view-model" JSON element and draws it
// with three.js (r111, its OrbitControls included before it). It writes
// nothing to the console: what goes wrong is shown in the page's "errors"
// element, where a reader (and a headless test) sees it. After the first
// picture is drawn, the body carries data-drawn="yes".
// Built into the library as a string (HtmlReportViewer.cpp.in).
(function () {
  'use strict';

  var errors = document.getElementById('errors');
  function showError(text) { errors.textContent += text + '\n'; }
  function showMessage(text) { document.getElementById('view-message').textContent = text; }

  var SUPPORT_COLOURS = { fixed: 0xcc0000, pinned: 0xff8800, spring: 0x228b22, other: 0x8a2be2 };
  var PERIOD_MS = 2000;  // one cycle of an animated mode shape
  var DEGREE = Math.PI / 180;

  function vector(p) { return new THREE.Vector3(p[0], p[1], p[2]); }

  // The frame's extent: its centre, the radius of the sphere around it and
  // its largest side, which sets the automatic displacement scale.
  function measure(joints) {
    var box = new THREE.Box3();
    joints.forEach(function (joint) { box.expandByPoint(vector(joint.at)); });
    var centre = new THREE.Vector3(), size = new THREE.Vector3();
    box.getCenter(centre);
    box.getSize(size);
    var side = Math.max(size.x, size.y, size.z) || 1;
    return { centre: centre, radius: 0.5 * size.length() || 0.5, side: side };
  }

  // The joint pairs of the beams and of the links; a pair naming a joint the
  // frame does not have is left out rather than stop the drawing.
  function beamPairs(model) {
    return validPairs(model, model.beams.map(function (beam) { return [beam.i, beam.j]; }));
  }
  function validPairs(model, pairs) {
    function valid(k) { return k >= 0 && k < model.joints.length; }
    return pairs.filter(function (pair) { return valid(pair[0]) && valid(pair[1]); });
  }

  // A spring outranks partial restraints: in a plane frame every joint holds
  // its out-of-plane freedoms, and the spring is what the reader looks for.
  function supportKind(joint) {
    var held = joint.restrained.filter(function (h) { return h; }).length;
    if (held === 6) return 'fixed';
    if (joint.spring) return 'spring';
    if (held === 3 && joint.restrained[0] && joint.restrained[1] && joint.restrained[2]) return 'pinned';
    return held > 0 ? 'other' : null;
  }

  function lineObject(positions, material) {
    var geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(positions), 3));
    return new THREE.LineSegments(geometry, material);
  }

  function pairLines(joints, pairs, material) {
    var positions = [];
    pairs.forEach(function (pair) {
      positions.push.apply(positions, joints[pair[0]].at);
      positions.push.apply(positions, joints[pair[1]].at);
    });
    return lineObject(positions, material);
  }

  // A small pyramid under each support, its apex at the joint, coloured by
  // the kind of support.
  function supportMarks(model, height) {
    var positions = [], colours = [];
    model.joints.forEach(function (joint) {
      var kind = supportKind(joint);
      if (!kind) return;
      var colour = new THREE.Color(SUPPORT_COLOURS[kind]);
      var x = joint.at[0], y = joint.at[1], z = joint.at[2], h = height;
      var base = [[x - h, y - h], [x + h, y - h], [x + h, y + h], [x - h, y + h]];
      base.forEach(function (corner, k) {
        var next = base[(k + 1) % 4];
        positions.push(x, y, z, corner[0], corner[1], z - 1.5 * h);
        positions.push(corner[0], corner[1], z - 1.5 * h, next[0], next[1], z - 1.5 * h);
      });
      for (var k = 0; k < 16; ++k) colours.push(colour.r, colour.g, colour.b);
    });
    var lines = lineObject(positions, new THREE.LineBasicMaterial({ vertexColors: THREE.VertexColors }));
    lines.geometry.setAttribute('color', new THREE.BufferAttribute(new Float32Array(colours), 3));
    return lines;
  }

  function jointPoints(model) {
    var positions = [];
    model.joints.forEach(function (joint) { positions.push.apply(positions, joint.at); });
    var geometry = new THREE.BufferGeometry();
    geometry.setAttribute('position', new THREE.BufferAttribute(new Float32Array(positions), 3));
    var material = new THREE.PointsMaterial({ color: 0x333333, size: 5, sizeAttenuation: false });
    return new THREE.Points(geometry, material);
  }

  function largestDisplacement(result) {
    return result.displacements.reduce(function (m, d) { return Math.max(m, vector(d).length()); }, 0);
  }

  // Moves the deformed lines' ends to the joints displaced by `factor`.
  function placeDeformed(lines, model, pairs, result, factor) {
    var array = lines.geometry.attributes.position.array, n = 0;
    pairs.forEach(function (pair) {
      [pair[0], pair[1]].forEach(function (k) {
        var at = model.joints[k].at, d = result.displacements[k] || [0, 0, 0];
        for (var c = 0; c < 3; ++c) array[n++] = at[c] + factor * d[c];
      });
    });
    lines.geometry.attributes.position.needsUpdate = true;
  }

  // A camera looking at the frame's centre from azimuth -60 and elevation
  // 30 degrees, far enough for the whole frame to fit either way.
  function fitCamera(camera, extent) {
    var half = camera.fov / 2 * DEGREE;
    var narrow = Math.min(Math.tan(half), Math.tan(half) * camera.aspect);
    var distance = 1.15 * extent.radius / Math.sin(Math.atan(narrow));
    var azimuth = -60 * DEGREE, elevation = 30 * DEGREE;
    var direction = new THREE.Vector3(Math.cos(elevation) * Math.cos(azimuth),
                                      Math.cos(elevation) * Math.sin(azimuth), Math.sin(elevation));
    camera.position.copy(extent.centre).addScaledVector(direction, distance);
    camera.near = distance / 100;
    camera.far = distance * 100;
    camera.lookAt(extent.centre);
    camera.updateProjectionMatrix();
  }

  function makeRenderer(canvas) {
    var attributes = { antialias: true, preserveDrawingBuffer: true };
    var gl = canvas.getContext('webgl', attributes) || canvas.getContext('experimental-webgl', attributes);
    if (!gl) return null;
    var renderer = new THREE.WebGLRenderer({ canvas: canvas, context: gl });
    renderer.setPixelRatio(window.devicePixelRatio || 1);
    renderer.setClearColor(0xeef2f6, 1);
    return renderer;
  }

  function fillResultChoice(select, results) {
    results.forEach(function (result, k) {
      var option = document.createElement('option');
      option.value = String(k);
      option.textContent = result.name + (result.mode ? ' (mode, animated)' : '');
      select.appendChild(option);
    });
    select.disabled = results.length === 0;
  }

  function start() {
    var canvas = document.getElementById('view-canvas');
    if (typeof THREE === 'undefined' || typeof THREE.OrbitControls === 'undefined') {
      showMessage('The 3D library is not part of this report: no 3D view.');
      canvas.style.display = 'none';
      return;
    }
    var renderer = makeRenderer(canvas);
    if (!renderer) {
      showMessage('This browser has no WebGL: the 3D view cannot be shown.');
      canvas.style.display = 'none';
      return;
    }
    var model = JSON.parse(document.getElementById('view-model').textContent);
    var extent = measure(model.joints);
    var scene = new THREE.Scene();
    var beams = beamPairs(model), links = validPairs(model, model.links);
    scene.add(pairLines(model.joints, beams, new THREE.LineBasicMaterial({ color: 0x1f4e9c })));
    var dash = extent.side / 50;
    var linkLines = pairLines(model.joints, links,
                              new THREE.LineDashedMaterial({ color: 0x2ca02c, dashSize: dash, gapSize: dash }));
    linkLines.computeLineDistances();
    scene.add(linkLines);
    scene.add(jointPoints(model));
    scene.add(supportMarks(model, extent.side / 40));
    var allPairs = beams.concat(links);
    var deformed = pairLines(model.joints, allPairs, new THREE.LineBasicMaterial({ color: 0xd62728 }));
    scene.add(deformed);

    var camera = new THREE.PerspectiveCamera(35, 1, 1, 2);
    camera.up.set(0, 0, 1);
    var controls = new THREE.OrbitControls(camera, canvas);
    controls.target.copy(extent.centre);

    var select = document.getElementById('view-result');
    var slider = document.getElementById('view-scale');
    var factorText = document.getElementById('view-factor');
    fillResultChoice(select, model.results);

    var state = { result: null, autoScale: 0, dirty: true };
    function chooseResult() {
      var result = model.results[Number(select.value)] || null;
      var largest = result ? largestDisplacement(result) : 0;
      state.result = largest > 0 ? result : null;
      state.autoScale = largest > 0 ? 0.1 * extent.side / largest : 0;
      slider.disabled = !state.result;
      showFactor();
    }
    function factor() { return state.autoScale * Number(slider.value) / 100; }
    function showFactor() {
      factorText.textContent = state.result ? 'displacements \u00d7 ' + factor().toPrecision(3)
                                            : 'no deformed shape';
      state.dirty = true;
    }
    select.addEventListener('change', chooseResult);
    slider.addEventListener('input', showFactor);
    controls.addEventListener('change', function () { state.dirty = true; });

    function resize() {
      var width = canvas.clientWidth || 1, height = canvas.clientHeight || 1;
      renderer.setSize(width, height, false);
      camera.aspect = width / height;
      camera.updateProjectionMatrix();
      state.dirty = true;
    }
    window.addEventListener('resize', resize);

    function draw(time) {
      var animated = state.result && state.result.mode;
      if (!state.dirty && !animated) return;
      deformed.visible = !!state.result;
      if (state.result) {
        var phase = animated ? Math.sin(2 * Math.PI * time / PERIOD_MS) : 1;
        placeDeformed(deformed, model, allPairs, state.result, factor() * phase);
      }
      renderer.render(scene, camera);
      state.dirty = false;
    }
    function loop(time) {
      try {
        draw(time);
        window.requestAnimationFrame(loop);
      } catch (e) {
        showError(String(e && e.stack || e));
      }
    }

    chooseResult();
    resize();
    fitCamera(camera, extent);
    controls.update();
    draw(PERIOD_MS / 4);
    document.body.dataset.drawn = 'yes';
    window.requestAnimationFrame(loop);
  }

  try {
    start();
  } catch (e) {
    showError(String(e && e.stack || e));
  }
})();
