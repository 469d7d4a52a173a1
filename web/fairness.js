// The fairness table: a row per start with the inspector's columns, the
// weakest value of each column marked, and the max/min line under them.

const $ = (id) => document.getElementById(id);

// max / min as the inspector writes it: '-' when both are 0, 'inf' when only the minimum is.
function ratio({ min, max }) {
  if (max === 0) return '-';
  if (min === 0) return 'inf';
  return (max / min).toFixed(2);
}

// Fills the table from the module's fairness ({ fromTowers, radius,
// columns, rows, spread }), marking the weakest value of each column unless
// the whole column is even.
export function fillFairness(fairness) {
  const table = $('fairness');
  table.replaceChildren();
  const head = table.createTHead().insertRow();
  for (const name of ['party', 'x', 'y', ...fairness.columns]) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    head.append(cell);
  }
  const body = table.createTBody();
  for (const row of fairness.rows) {
    const line = body.insertRow();
    const party = line.insertCell();
    party.textContent = row.spot.party;
    party.style.setProperty('--party', row.spot.colour);
    party.className = 'party';
    for (const value of [row.spot.x, row.spot.y]) line.insertCell().textContent = value;
    row.values.forEach((value, column) => {
      const cell = line.insertCell();
      cell.textContent = value;
      const { min, max } = fairness.spread[column];
      if (value === min && min !== max) {
        cell.className = 'weakest';
        cell.title = `the weakest ${fairness.columns[column]}`;
      }
    });
  }
  const foot = table.createTFoot().insertRow();
  const label = document.createElement('th');
  label.scope = 'row';
  label.colSpan = 3;
  label.textContent = 'max/min';
  foot.append(label);
  for (const spread of fairness.spread) foot.insertCell().textContent = ratio(spread);
  $('fairness-basis').textContent =
    `Within ${fairness.radius} tiles of each of the ${fairness.rows.length} ` +
    `${fairness.fromTowers ? 'towers' : 'player start spots'}; claimed land and settlers ` +
    'over the whole map. The weakest start of each column is marked.';
}

// Empties the table and its explanation.
export function clearFairness() {
  $('fairness').replaceChildren();
  $('fairness-basis').textContent = '';
}
