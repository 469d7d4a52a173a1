// The map on screen: the preview on a canvas at one pixel per tile, a ring
// and the party number at each start, and zoom steps that scale both.

const ZOOMS = [0.25, 0.5, 1, 2, 3, 4, 6, 8, 12, 16];
const MAX_VIEW_EDGE = 16384;  // pixels of the zoomed map's edge
const PAGE_WIDTH = 1200;  // the page's widest content, in CSS pixels (style.css)
const PAGE_MARGIN = 48;  // its padding and the view's border and scroll bar
const VIEW_HEIGHT = 0.8;  // the view's greatest height, as a share of the window's (style.css)
const SVG = 'http://www.w3.org/2000/svg';

const $ = (id) => document.getElementById(id);

let shown;  // the map on screen: { size }
let zoom = 1;

// Whether a map is on screen.
export function hasMap() { return shown !== undefined; }

// Shows picture (an ImageBitmap of the map, which this closes) with a mark
// at each spot ({ party, x, y, colour }), at the largest zoom that fits.
export function showMap(picture, spots) {
  const size = picture.width;
  const canvas = $('map');
  canvas.width = size;
  canvas.height = size;
  canvas.getContext('2d').drawImage(picture, 0, 0);
  picture.close();
  const marks = $('marks');
  marks.setAttribute('viewBox', `0 0 ${size} ${size}`);
  marks.replaceChildren(...spots.map((spot) => {
    const mark = document.createElementNS(SVG, 'g');
    mark.setAttribute('transform', `translate(${spot.x + 0.5} ${spot.y + 0.5})`);
    mark.style.setProperty('--party', spot.colour);
    mark.append(document.createElementNS(SVG, 'circle'), document.createElementNS(SVG, 'circle'),
      document.createElementNS(SVG, 'text'));
    mark.lastChild.textContent = spot.party;
    return mark;
  }));
  shown = { size };
  setZoom(fittingZoom(size));
}

// Empties the map and its marks.
export function clearMap() {
  shown = undefined;
  $('map').width = 0;
  $('map').height = 0;
  $('map').style.width = '';
  $('map').style.height = '';
  $('marks').replaceChildren();
  $('zoom-level').textContent = '';
  $('zoom-in').disabled = true;
  $('zoom-out').disabled = true;
}

// The zoom levels at which a map of edge tiles stays within MAX_VIEW_EDGE pixels.
function allowedZooms(edge) { return ZOOMS.filter((z) => edge * z <= MAX_VIEW_EDGE); }

// The largest zoom at which a map of edge tiles fits the page's width and
// the view's height (read from the window, which needs no layout pass).
function fittingZoom(edge) {
  const room = Math.min(Math.min(window.innerWidth, PAGE_WIDTH) - PAGE_MARGIN,
    window.innerHeight * VIEW_HEIGHT - PAGE_MARGIN);
  const zooms = allowedZooms(edge);
  return zooms.filter((z) => edge * z <= room).pop() ?? zooms[0];
}

// Shows the map zoom times its size: the canvas is scaled without smoothing,
// the marks keep their size on screen (rings of at least 7 pixels, labels
// of at least 13 pixels).
function setZoom(value) {
  zoom = value;
  const edge = `${shown.size * zoom}px`;
  for (const element of [$('map'), $('marks')]) {
    element.style.width = edge;
    element.style.height = edge;
  }
  const radius = Math.max(7 / zoom, 4);
  const font = Math.max(13, 3 * zoom + 8) / zoom;
  for (const mark of $('marks').children) {
    for (const ring of mark.querySelectorAll('circle')) ring.setAttribute('r', radius);
    const label = mark.lastChild;
    label.setAttribute('x', radius);
    label.setAttribute('y', -radius);
    label.setAttribute('font-size', font);
    label.setAttribute('stroke-width', 4 / zoom);
  }
  $('zoom-level').textContent = `${zoom * 100}%`;
  const zooms = allowedZooms(shown.size);
  $('zoom-out').disabled = zoom <= zooms[0];
  $('zoom-in').disabled = zoom >= zooms[zooms.length - 1];
}

// Moves one zoom step in (+1) or out (-1), keeping the centre of the view in place.
export function step(direction) {
  if (!shown) return;
  const zooms = allowedZooms(shown.size);
  const next = zooms[zooms.indexOf(zoom) + direction];
  if (next === undefined) return;
  const scroller = $('scroller');
  const centreX = (scroller.scrollLeft + scroller.clientWidth / 2) / zoom;
  const centreY = (scroller.scrollTop + scroller.clientHeight / 2) / zoom;
  setZoom(next);
  scroller.scrollLeft = centreX * zoom - scroller.clientWidth / 2;
  scroller.scrollTop = centreY * zoom - scroller.clientHeight / 2;
}
