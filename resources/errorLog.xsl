<?xml version="1.0" encoding="UTF-8"?>
<!--
  Shows a Zelka error log as a report. Each entry is one error as it reached
  the user: when it happened, then its chain from the outermost operation to
  the innermost one, where the failure happened, with that failure's
  description. Place this file beside the log (the log names it by file name).
-->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:e="urn:zelkasystems:orvane:errorLog"
    exclude-result-prefixes="e">
  <xsl:output method="html" encoding="UTF-8" indent="yes"/>

  <xsl:template match="/e:errors">
    <html>
      <head>
        <title>Zelka error log</title>
        <style>
          body { font-family: sans-serif; margin: 1.5em; color: #222; }
          h1 { font-size: 1.4em; }
          .entry { border: 1px solid #bbb; border-radius: 4px; margin: 0 0 1em 0; padding: 0.6em 0.9em; }
          .when { font-weight: bold; }
          .severity-high { color: #a00; }
          .severity-medium { color: #a60; }
          .severity-low { color: #060; }
          ol.chain { margin: 0.4em 0; padding-left: 1.2em; }
          ol.chain li { font-family: monospace; margin: 0.15em 0; }
          .source { color: #666; font-family: sans-serif; font-size: 0.85em; }
          .description { background: #fff3f3; border-left: 4px solid #a00; padding: 0.4em 0.6em; white-space: pre-wrap; }
        </style>
      </head>
      <body>
        <h1>Zelka error log</h1>
        <p class="count"><xsl:value-of select="count(e:error)"/> error(s) recorded.</p>
        <xsl:apply-templates select="e:error"/>
      </body>
    </html>
  </xsl:template>

  <!-- One top-level entry: its date, the chain, the innermost description. -->
  <xsl:template match="e:errors/e:error">
    <div class="entry">
      <div class="when">
        <xsl:apply-templates select="e:date"/>
        <xsl:text> </xsl:text>
        <span class="severity-{e:severity}">(<xsl:value-of select="e:severity"/>)</span>
      </div>
      <ol class="chain">
        <xsl:apply-templates select="." mode="chain"/>
      </ol>
      <xsl:variable name="innermost" select="descendant-or-self::e:error[not(e:innerException)][1]"/>
      <div class="description"><xsl:value-of select="$innermost/e:description"/></div>
    </div>
  </xsl:template>

  <!-- One line per level of the chain, outermost first. -->
  <xsl:template match="e:error" mode="chain">
    <li>
      <xsl:value-of select="e:class"/>::<xsl:value-of select="e:procSig"/>
      <span class="source"><xsl:text> </xsl:text>(<xsl:value-of select="e:source"/>)</span>
    </li>
    <xsl:apply-templates select="e:innerException/e:error" mode="chain"/>
  </xsl:template>

  <!-- 2026-03-05 09:07:03 -->
  <xsl:template match="e:date">
    <xsl:value-of select="e:year"/>-<xsl:value-of select="format-number(e:month, '00')"/>-<xsl:value-of
        select="format-number(e:day, '00')"/><xsl:text> </xsl:text><xsl:value-of
        select="format-number(e:hour, '00')"/>:<xsl:value-of select="format-number(e:minute, '00')"/>:<xsl:value-of
        select="format-number(e:second, '00')"/>
  </xsl:template>
</xsl:stylesheet>
