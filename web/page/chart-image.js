// A chart as a picture: uPlot draws the plot on a canvas, but its title and
// legend are the page's; the picture has all three on white.

export function chartImage(u, title, legend = []) {
  const ratio = devicePixelRatio;
  const plot = u.ctx.canvas;
  const titleHeight = 24 * ratio;
  const legendHeight = legend.length * 18 * ratio + (legend.length ? 6 * ratio : 0);
  const canvas = document.createElement('canvas');
  canvas.width = plot.width;
  canvas.height = plot.height + titleHeight + legendHeight;
  const ctx = canvas.getContext('2d');
  ctx.fillStyle = '#fff';
  ctx.fillRect(0, 0, canvas.width, canvas.height);
  ctx.fillStyle = '#0000ff';
  ctx.font = `bold ${13 * ratio}px Arial, sans-serif`;
  ctx.textAlign = 'center';
  ctx.textBaseline = 'middle';
  ctx.fillText(title, canvas.width / 2, titleHeight / 2);
  ctx.drawImage(plot, 0, titleHeight);
  ctx.textAlign = 'left';
  ctx.font = `${11 * ratio}px Arial, sans-serif`;
  legend.forEach(({ colour, text }, i) => {
    const y = plot.height + titleHeight + (6 + 18 * i) * ratio;
    ctx.fillStyle = colour;
    ctx.fillRect(6 * ratio, y, 12 * ratio, 12 * ratio);
    ctx.fillStyle = '#000';
    ctx.fillText(text, 22 * ratio, y + 6 * ratio);
  });
  return pngBlob(canvas);
}

// Synchronously, so that the link clicked can take the file at once.
function pngBlob(canvas) {
  const data = atob(canvas.toDataURL('image/png').split(',')[1]);
  const bytes = new Uint8Array(data.length);
  for (let i = 0; i < data.length; ++i) bytes[i] = data.charCodeAt(i);
  return new Blob([bytes], { type: 'image/png' });
}
