// The screen canvas (id "screen") showing the program's frames. With WebGL, a 16-bit RGB565 frame
// goes from the program's memory straight into a texture of type UNSIGNED_SHORT_5_6_5 and is
// drawn as one quad with nearest filtering, so the processor converts nothing; other frames go
// up as RGBA. Without WebGL on a graphics card (or with ?present=2d in the page's address) RGBA
// frames are put on a 2D canvas. The canvas holds the frame's own pixels; the page scales it with whole pixels kept
// sharp (image-rendering: pixelated). Views of the program's memory are made again only when it
// grows or the frame moves.
Module.vkScreen = (function() {
  var canvas = null;
  var gl = null;
  var g2d = null;
  var texture = null;
  var textureSize = "";
  var view = null;
  var viewKey = "";
  var image = null;

  var vertexSource = "attribute vec2 p; varying vec2 t;" +
                     "void main() { t = vec2(p.x + 1.0, 1.0 - p.y) * 0.5; gl_Position = vec4(p, 0.0, 1.0); }";
  var fragmentSource = "precision mediump float; uniform sampler2D s; varying vec2 t;" +
                       "void main() { gl_FragColor = texture2D(s, t); }";

  function setUpGl() {
    var shader = function(kind, source) {
      var s = gl.createShader(kind);
      gl.shaderSource(s, source);
      gl.compileShader(s);
      return s;
    };
    var program = gl.createProgram();
    gl.attachShader(program, shader(gl.VERTEX_SHADER, vertexSource));
    gl.attachShader(program, shader(gl.FRAGMENT_SHADER, fragmentSource));
    gl.bindAttribLocation(program, 0, "p");
    gl.linkProgram(program);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
      return false;
    }
    gl.useProgram(program);
    // One triangle larger than the screen covers it; the corners outside are clipped.
    gl.bindBuffer(gl.ARRAY_BUFFER, gl.createBuffer());
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 3, -1, -1, 3]), gl.STATIC_DRAW);
    gl.enableVertexAttribArray(0);
    gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
    texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    textureSize = "";
    return true;
  }

  function renderer(context) {
    var info = context.getExtension("WEBGL_debug_renderer_info");
    return String(context.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : context.RENDERER));
  }

  function attach() {
    canvas = (typeof document !== "undefined") ? document.getElementById("screen") : null;
    if (!canvas) {
      return false;
    }
    var wanted = (typeof location !== "undefined") ? new URLSearchParams(location.search).get("present") : null;
    if (wanted !== "2d") {
      // WebGL drawn by the processor (no graphics card, or one the browser will not use) costs
      // more than the 2D canvas, so the page keeps to the 2D canvas then, unless its address asks
      // for WebGL outright (?present=webgl). A canvas keeps the kind of its first context: a
      // spare one is asked first.
      var options = {alpha: false, antialias: false, depth: false, stencil: false, premultipliedAlpha: false,
                     preserveDrawingBuffer: false, failIfMajorPerformanceCaveat: wanted !== "webgl"};
      var probe = document.createElement("canvas").getContext("webgl", options);
      if (probe && (wanted === "webgl" || !/SwiftShader|llvmpipe|softpipe|Software/i.test(renderer(probe)))) {
        gl = canvas.getContext("webgl", options);
      }
      var lose = probe && probe.getExtension("WEBGL_lose_context");
      if (lose) {
        lose.loseContext();
      }
      if (gl && !setUpGl()) {
        gl = null;
      }
      if (gl) {
        // A lost context (a driver reset) is set up again when the browser gives it back.
        canvas.addEventListener("webglcontextlost", function(e) { e.preventDefault(); });
        canvas.addEventListener("webglcontextrestored", function() { setUpGl(); });
      }
    }
    if (!gl) {
      g2d = canvas.getContext("2d", {alpha: false});
    }
    Module.vkPresenter = gl ? "webgl" : "2d";
    return true;
  }

  // A view of `length` elements of the program's memory at byte `address`, kept while the memory
  // stays where it is.
  function viewOf(Type, heap, address, length) {
    var key = Type.name + " " + address + " " + length;
    if (view === null || view.buffer !== heap.buffer || viewKey !== key) {
      view = new Type(heap.buffer, address, length);
      viewKey = key;
      image = null;
    }
    return view;
  }

  function upload(format, type, width, height, pixels) {
    var size = format + " " + width + "x" + height;
    if (textureSize !== size) {
      gl.texImage2D(gl.TEXTURE_2D, 0, format, width, height, 0, format, type, pixels);
      textureSize = size;
    } else {
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, width, height, format, type, pixels);
    }
    gl.viewport(0, 0, width, height);
    gl.drawArrays(gl.TRIANGLES, 0, 3);
  }

  function shown() {
    if (Module.vkFirstFrameMs === undefined) {
      Module.vkFirstFrameMs = performance.now();
      if (Module.vkOnFirstFrame) {
        Module.vkOnFirstFrame();
      }
    }
  }

  return {
    // Whether frames can go up as RGB565 (with WebGL); attaches to the canvas on the first call.
    takes565: function() {
      return (canvas !== null || attach()) && gl !== null;
    },
    // `width` x `height` RGB565 pixels, rows packed, at byte `address` of the program's memory.
    put565: function(address, width, height) {
      if (!gl || gl.isContextLost()) {
        return;
      }
      upload(gl.RGB, gl.UNSIGNED_SHORT_5_6_5, width, height, viewOf(Uint16Array, HEAPU16, address, width * height));
      shown();
    },
    // `width` x `height` RGBA pixels, rows packed, at byte `address` of the program's memory.
    putRgba: function(address, width, height) {
      if (canvas === null && !attach()) {
        return;
      }
      if (gl) {
        if (!gl.isContextLost()) {
          upload(gl.RGBA, gl.UNSIGNED_BYTE, width, height, viewOf(Uint8Array, HEAPU8, address, width * height * 4));
        }
      } else if (g2d) {
        var bytes = viewOf(Uint8ClampedArray, HEAPU8, address, width * height * 4);
        if (image === null || image.width !== width || image.height !== height) {
          image = new ImageData(bytes, width, height);
        }
        g2d.putImageData(image, 0, 0);
      }
      shown();
    },
    // The screen's pixels as RGB bytes, rows from the top, as last shown (for the page's tests).
    rgb: function() {
      if (canvas === null) {
        return new Uint8Array(0);
      }
      var w = canvas.width, h = canvas.height, rgba = new Uint8Array(w * h * 4);
      if (gl) {
        // The drawing buffer is not kept between frames: draw the last frame again and read it.
        gl.drawArrays(gl.TRIANGLES, 0, 3);
        gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
      } else {
        rgba.set(g2d.getImageData(0, 0, w, h).data);
      }
      var out = new Uint8Array(w * h * 3);
      for (var y = 0; y < h; y++) {
        var from = (gl ? h - 1 - y : y) * w * 4;
        for (var x = 0; x < w; x++) {
          out[(y * w + x) * 3] = rgba[from + x * 4];
          out[(y * w + x) * 3 + 1] = rgba[from + x * 4 + 1];
          out[(y * w + x) * 3 + 2] = rgba[from + x * 4 + 2];
        }
      }
      return out;
    }
  };
})();
