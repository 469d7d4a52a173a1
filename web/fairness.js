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
  // Team maps show each start's team beside its party.
  const teams = fairness.rows.some(({ spot }) => spot.team > 0);
  const head = table.createTHead().insertRow();
  for (const name of ['party', ...(teams ? ['team'] : []), 'x', 'y', ...fairness.columns]) {
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
    if (teams) line.insertCell().textContent = row.spot.team > 0 ? row.spot.team : '-';
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
  label.colSpan = teams ? 4 : 3;
  label.textContent = 'max/min';
  foot.append(label);
  for (const spread of fairness.spread) foot.insertCell().textContent = ratio(spread);
  $('fairness-basis').textContent =
    `Within ${fairness.radius} tiles of each of the ${fairness.rows.length} ` +
    `${fairness.fromTowers ? 'towers' : 'player start spots'}; claimed land and settlers ` +
    'over the whole map. The weakest start of each column is marked.';
  fillTeamTotals(fairness);
}

// Under the table, on team maps: each team's parties and the sums of every
// column but the nearest rival's distance over its starts, and max/min of
// the sums over the teams.
function fillTeamTotals(fairness) {
  const table = $('team-totals');
  table.replaceChildren();
  $('team-basis').textContent = '';
  const byTeam = new Map();
  for (const row of fairness.rows) {
    if (row.spot.team === 0) continue;
    if (!byTeam.has(row.spot.team)) byTeam.set(row.spot.team, []);
    byTeam.get(row.spot.team).push(row);
  }
  if (byTeam.size === 0) return;
  const columns = fairness.columns.filter((name) => name !== 'rival');
  const indices = columns.map((name) => fairness.columns.indexOf(name));
  const head = table.createTHead().insertRow();
  for (const name of ['team', 'parties', ...columns]) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    head.append(cell);
  }
  const body = table.createTBody();
  const sums = [...byTeam.keys()].sort((a, b) => a - b).map((team) => {
    const rows = byTeam.get(team);
    const line = body.insertRow();
    line.insertCell().textContent = team;
    line.insertCell().textContent = rows.map(({ spot }) => spot.party).join(' ');
    const sum = indices.map((column) => rows.reduce((total, { values }) => total + values[column], 0));
    for (const value of sum) line.insertCell().textContent = value;
    return sum;
  });
  const foot = table.createTFoot().insertRow();
  const label = document.createElement('th');
  label.scope = 'row';
  label.colSpan = 2;
  label.textContent = 'max/min';
  foot.append(label);
  columns.forEach((_, column) => {
    const values = sums.map((sum) => sum[column]);
    foot.insertCell().textContent = ratio({ min: Math.min(...values), max: Math.max(...values) });
  });
  $('team-basis').textContent =
    "Team totals: the sums of each team's rows above (teams as the player names give them).";
}

// Empties the table and its explanation.
export function clearFairness() {
  $('fairness').replaceChildren();
  $('fairness-basis').textContent = '';
  $('team-totals').replaceChildren();
  $('team-basis').textContent = '';
}
